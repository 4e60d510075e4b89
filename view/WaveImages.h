#pragma once

#include <QByteArray>
#include <array>

// The sound effects' RIFF WAVE images, in the order of the media's wave list
// (flow, solved, refuse, time up).
inline constexpr int kWaveCount = 4;
using WaveImages = std::array<QByteArray, kWaveCount>;
