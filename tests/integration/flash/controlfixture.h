#pragma once

#include "ruffleflashcontrol.h"
#include "support/eventwait.h"
#include "volume.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace lumora::test {

// A Flash control on the built Ruffle in a shown window, playing movies as the window does.
class FlashControlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = std::make_unique<QWidget>();
        m_window->resize(320, 240);
        m_control = std::make_unique<RuffleFlashControl>(qEnvironmentVariable("LUMORA_RUFFLE_DIR"),
                                                         m_volume, m_window.get());
        m_control->widget()->resize(320, 240);
        m_window->show();
    }
    void TearDown() override {
        m_control.reset();
        m_window.reset();
    }

    // Properties after Movie, in the same turn.
    void playMovie(const QString& path, bool loop = false) {
        m_control->setBackgroundColor(0);
        m_control->setScaleMode(FlashControl::kScaleExactFit);
        m_control->setMovie(path);
        m_control->setLoop(loop);
    }
    bool waitLoaded() {
        return waitUntil([&] { return m_control->readyState() == FlashReadyState::Complete; });
    }

    ProgramVolume m_volume;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<RuffleFlashControl> m_control;
};

} // namespace lumora::test
