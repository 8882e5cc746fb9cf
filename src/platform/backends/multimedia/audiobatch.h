#pragma once

#include <chrono>

namespace lumora {

// How much decoded sound an audio decoder gathers before it hands it on.
inline constexpr std::chrono::milliseconds kDecodedAudioBatch{200};

// From now on, every audio decoder that GStreamer makes in this process hands its sound on in
// pieces of at least kDecodedAudioBatch. Decoders hand on each compressed frame by itself
// (38 a second for a 22 kHz MP3), and every piece wakes the playing threads once or twice; a
// few pieces a second play the same. Safe to call more than once.
void batchDecodedAudio();

} // namespace lumora
