#pragma once

#include "mediaplayer.h"

#include <QObject>
#include <QString>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumora::test {

class FakeMediaPlayer;

// What the players of one factory share: the players alive now and how many were made.
struct FakeMediaRecord {
    std::vector<FakeMediaPlayer*> live; // in order of creation
    int created = 0;
    std::vector<std::string> log; // every call of every player, e.g. "FrameMP1:seek 2000"
};

// A media player whose length, position and mode the test sets; it logs every call in order.
// A call whose log entry starts with throwOn throws std::runtime_error (after being logged).
class FakeMediaPlayer : public MediaPlayer {
public:
    std::int64_t lengthMs = 0;
    std::int64_t positionMs = 0;
    MediaMode modeValue = MediaMode::NotReady;
    bool failOpen = false; // open leaves the mode NotReady
    QString fileName;
    QObject* parent = nullptr;
    std::string throwOn;
    std::vector<std::string> log;

    explicit FakeMediaPlayer(std::shared_ptr<FakeMediaRecord> record = {})
        : m_record(record ? std::move(record) : std::make_shared<FakeMediaRecord>()) {
        m_record->live.push_back(this);
        ++m_record->created;
    }
    ~FakeMediaPlayer() override { std::erase(m_record->live, this); }

    QString name() const override { return m_name; }
    void setName(const QString& name) override {
        m_name = name;
        call("setName " + name.toStdString());
    }
    void setFileName(const QString& name) override {
        call("setFileName " + name.toStdString());
        fileName = name;
    }
    void open() override {
        call("open");
        modeValue = failOpen ? MediaMode::NotReady : MediaMode::Stopped;
    }
    void play() override {
        call("play");
        if (modeValue != MediaMode::NotReady)
            modeValue = MediaMode::Playing;
    }
    void pause() override {
        call("pause");
        if (modeValue == MediaMode::Playing)
            modeValue = MediaMode::Paused;
        else if (modeValue == MediaMode::Paused)
            modeValue = MediaMode::Playing;
    }
    void stop() override {
        call("stop");
        if (modeValue != MediaMode::NotReady)
            modeValue = MediaMode::Stopped;
    }
    void eject() override {
        call("eject");
        modeValue = MediaMode::NotReady;
    }
    void seek(std::int64_t ms) override {
        call("seek " + std::to_string(ms));
        positionMs = ms;
    }
    std::int64_t length() const override { return lengthMs; }
    std::int64_t position() const override { return positionMs; }
    MediaMode mode() const override { return modeValue; }

private:
    void call(const std::string& entry) {
        log.push_back(entry);
        m_record->log.push_back(m_name.toStdString() + ":" + entry);
        if (!throwOn.empty() && entry.rfind(throwOn, 0) == 0)
            throw std::runtime_error("media player failed: " + entry);
    }

    std::shared_ptr<FakeMediaRecord> m_record;
    QString m_name;
};

// Makes fake players and keeps track of them, also after they are destroyed.
class FakeMediaPlayerFactory : public MediaPlayerFactory {
public:
    std::shared_ptr<FakeMediaRecord> record = std::make_shared<FakeMediaRecord>();
    std::string throwOnCreate; // non-empty: create throws with this message

    std::unique_ptr<MediaPlayer> create(QObject* parent) override {
        if (!throwOnCreate.empty())
            throw std::runtime_error(throwOnCreate);
        auto player = std::make_unique<FakeMediaPlayer>(record);
        player->parent = parent;
        return player;
    }

    int liveCount() const { return static_cast<int>(record->live.size()); }
    // The newest live player, or none.
    FakeMediaPlayer* latest() const { return record->live.empty() ? nullptr : record->live.back(); }
};

} // namespace lumora::test
