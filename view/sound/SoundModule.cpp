// The sound module: Qt Multimedia and the sound server's client libraries are
// loaded with it at the first sound, not at the game's start.
#include "view/sound/SoundModule.h"

#include <QtGlobal>

#include "view/sound/AudioSinkOutput.h"

extern "C" Q_DECL_EXPORT SoundOutput* aquendo_make_sound_output() {
    return new AudioSinkOutput();
}
