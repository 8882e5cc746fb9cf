#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace lumora {

// Whether the person at the computer has left the program alone for a while: no key, button,
// wheel or pointer movement in any of its windows. Families leave the program open for hours,
// and on a computer without graphics drivers every moving decoration costs the processor.
class QuietWatch : public QObject {
    Q_OBJECT
public:
    // How long without input makes the program quiet.
    static constexpr std::chrono::milliseconds kQuietAfter{60000};

    explicit QuietWatch(std::chrono::milliseconds quietAfter = kQuietAfter);
    ~QuietWatch() override;

    bool isQuiet() const { return m_quiet; }

signals:
    void quietChanged(bool quiet);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check();

    std::chrono::milliseconds m_quietAfter;
    QElapsedTimer m_sinceInput;
    QTimer m_timer;
    bool m_quiet = false;
};

} // namespace lumora
