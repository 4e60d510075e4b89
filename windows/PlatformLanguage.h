#pragma once

// Qt's own texts, those of the file dialogs and the standard message boxes'
// buttons, in the desktop's language (LANG, LC_MESSAGES), from Qt's
// translations when they are installed. The game's own texts are not Qt's:
// they follow its language setting.
void UsePlatformLanguage();
