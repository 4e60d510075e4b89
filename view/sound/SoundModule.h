#pragma once

class SoundOutput;

// The one symbol of the sound module: makes an audio output, owned by the caller.
using SoundModuleEntry = SoundOutput* (*)();
inline constexpr char kSoundModuleEntry[] = "aquendo_make_sound_output";
