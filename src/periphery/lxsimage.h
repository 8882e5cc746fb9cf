#pragma once

#include <QLabel>

namespace lumora {

// A picture control that also tells when the mouse leaves it; the caption buttons and the
// sound icon are made of it.
class tLxsimage : public QLabel {
    Q_OBJECT
public:
    explicit tLxsimage(QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void mousePressed(Qt::MouseButtons buttons, QPoint position);
    void mouseMoved(QPoint position);
    void mouseReleased(QPoint position);
    void mouseLeave();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace lumora
