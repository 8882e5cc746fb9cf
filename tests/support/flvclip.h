#pragma once

#include <QSize>
#include <QString>

namespace lumora::test {

// Whether ffmpeg is on the PATH: the tests that need a video skip without it.
bool haveFfmpeg();

// Writes an FLV clip with ffmpeg: a test pattern in Sorenson video at 25 frames a second and a
// 440 Hz tone in MP3, the formats the player movie plays. True when the file was made.
bool makeFlvClip(const QString& file, const QSize& size, double seconds);

} // namespace lumora::test
