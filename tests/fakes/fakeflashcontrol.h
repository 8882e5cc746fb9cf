#pragma once

#include "flashcontrol.h"

#include <QStringList>
#include <QWidget>

#include <map>
#include <memory>
#include <stdexcept>

namespace lumora::test {

// A Flash control whose state the test sets; every command is logged in order.
class FakeFlashControl : public FlashControl {
public:
    QStringList log;
    QString flashVars;
    bool loop = true;
    int scaleMode = 0;
    int backgroundColor = -1;
    int ready = 0;
    int frames = 0;
    int frame = 0;
    bool playing = false;
    std::map<QString, QString> replies; // external-interface request → reply
    bool callThrows = false;
    QStringList calls;

    explicit FakeFlashControl(QWidget* parent = nullptr) : m_widget(new QWidget(parent)) {
        m_widget->setObjectName(QStringLiteral("ShockwaveFlash1"));
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
    int readyState() const override { return ready; }
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
    QString CallFunction(const QString& request) override {
        calls << request;
        if (callThrows)
            throw std::runtime_error("the movie does not answer");
        const auto found = replies.find(request);
        return found == replies.end() ? QString() : found->second;
    }

private:
    QWidget* m_widget; // owned by its parent, as the real control's view is
    QString m_movie;
};

} // namespace lumora::test
