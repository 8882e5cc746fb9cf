#pragma once

#include <QFrame>

class QLabel;

namespace lumora {

class tLxsimage;

// The window's own caption (the frame pnlTop): the picture strip, the edition's title and hint,
// the logo and the minimise, maximise/restore and close buttons.
class CaptionBar : public QFrame {
    Q_OBJECT
public:
    explicit CaptionBar(QWidget* parent);

    // The edition's header, sized to its text and standing on the whole strip's height.
    void setTitle(const QString& text);
    QString title() const;
    // A hint beside the title; shown once set.
    void setHint(const QString& text);
    QString hint() const; // empty while none is shown
    // A maximised window offers restoring, any other maximising.
    void setMaximised(bool maximised);
    bool maximised() const { return m_maximised; }

signals:
    void minimiseClicked();
    void maximiseClicked();
    void restoreClicked();
    void closeClicked();
    void logoClicked();
    void dragStarted(Qt::MouseButtons buttons); // a press on the strip
    void doubleClicked();                       // on the strip

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutCaption();

    QLabel* m_imgTl = nullptr;
    QLabel* m_imgTc = nullptr;
    QLabel* m_imgTr = nullptr;
    QLabel* m_imgLogo = nullptr;
    QLabel* m_lblSysVer = nullptr;
    QLabel* m_lblHint = nullptr;
    tLxsimage* m_limgMin = nullptr;
    tLxsimage* m_limgMax = nullptr;
    tLxsimage* m_limgNor = nullptr;
    tLxsimage* m_limgClose = nullptr;
    bool m_maximised = false;
};

} // namespace lumora
