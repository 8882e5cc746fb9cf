#pragma once

#include "flashcontrol.h"

#include <QKeyEvent>
#include <QStringList>
#include <QWidget>

#include <map>
#include <memory>

namespace lumora::test {

// A Flash control whose state the test sets; every command is logged in order.
class FakeFlashControl : public FlashControl {
public:
    QStringList log;
    QString flashVars;
    bool loop = true;
    int scaleMode = 0;
    int backgroundColor = -1;
    FlashReadyState ready = FlashReadyState::Uninitialised;
    int frames = 0;
    int frame = 0;
    bool playing = false;
    std::map<QString, QString> replies; // external-interface request → reply
    bool callFails = false;
    QStringList calls;

    // The control's own full screen, as the player movie takes it; Esc at the control leaves it
    // unless leavesOnEsc is false.
    bool fullScreen = false;
    bool leavesOnEsc = true;
    int escapes = 0;

    explicit FakeFlashControl(QWidget* parent = nullptr)
        : m_widget(new QWidget(parent)), m_escWatcher(*this) {
        m_widget->setObjectName(QStringLiteral("ShockwaveFlash1"));
        m_widget->installEventFilter(&m_escWatcher);
    }
    void setFullScreen(bool on) {
        fullScreen = on;
        if (onFullScreenChanged)
            onFullScreenChanged(on);
    }
    // The player movie answers a request without arguments, e.g. answer("getPlayState", "1").
    void answer(const char* function, const QString& number) {
        replies[QStringLiteral("<invoke name=\"%1\"></invoke>").arg(QLatin1String(function))] =
            QStringLiteral("<number>%1</number>").arg(number);
    }
    QWidget* widget() override { return m_widget; }
    void setMovie(const QString& movie) override {
        m_movie = movie;
        log << "Movie=" + movie;
    }
    QString movie() const override { return m_movie; }
    void setFlashVars(const QString& vars) override {
        flashVars = vars;
        log << "FlashVars=" + vars;
    }
    void setLoop(bool value) override {
        loop = value;
        log << QStringLiteral("Loop=%1").arg(value);
    }
    void setScaleMode(int mode) override {
        scaleMode = mode;
        log << QStringLiteral("ScaleMode=%1").arg(mode);
    }
    void setBackgroundColor(int rgb) override {
        backgroundColor = rgb;
        log << QStringLiteral("BackgroundColor=%1").arg(rgb);
    }
    FlashReadyState readyState() const override { return ready; }
    int totalFrames() const override { return frames; }
    int currentFrame() const override { return frame; }
    bool isPlaying() const override { return playing; }
    void play() override {
        playing = true;
        log << "play";
    }
    void stop() override {
        playing = false;
        log << "stop";
    }
    void gotoFrame(int value) override {
        frame = value;
        log << QStringLiteral("goto %1").arg(value);
    }
    Outcome<QString> CallFunction(const QString& request) override {
        calls << request;
        if (callFails)
            return Failure{QStringLiteral("the movie does not answer")};
        const auto found = replies.find(request);
        return found == replies.end() ? QString() : found->second;
    }

private:
    class EscWatcher : public QObject {
    public:
        explicit EscWatcher(FakeFlashControl& flash) : m_flash(flash) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress &&
                static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                ++m_flash.escapes;
                if (m_flash.fullScreen && m_flash.leavesOnEsc)
                    m_flash.setFullScreen(false);
            }
            return false;
        }

    private:
        FakeFlashControl& m_flash;
    };

    QWidget* m_widget; // owned by its parent, as the real control's view is
    QString m_movie;
    EscWatcher m_escWatcher;
};

} // namespace lumora::test
