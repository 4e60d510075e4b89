#pragma once

#include <cstdint>
#include <vector>

// The four sound effects as 8-bit unsigned mono samples (128 is silence).
// Each starts and ends on silence, so playing it never clicks.
std::vector<std::uint8_t> FlowSound(std::uint32_t seed);    // 22050 Hz, 19406 samples: water running in
std::vector<std::uint8_t> SolvedSound(std::uint32_t seed);  // 11025 Hz, 34265 samples: a short fanfare
std::vector<std::uint8_t> RefuseSound(std::uint32_t seed);  // 11025 Hz, 2298 samples: a refusing blip
std::vector<std::uint8_t> TimeUpSound(std::uint32_t seed);  // 11025 Hz, 25246 samples: a falling phrase

inline constexpr int kFlowRate = 22050;
inline constexpr int kEffectRate = 11025;
