#pragma once

#include <string>

// The messages of the results file, the saved games and the settings store.
// German for language 1, English for every other value.

// Save flow, the chosen file exists (warning, Yes and No).
std::string OverwriteQuestion(const std::string& fileName, int uiLanguage);
// Save flow, the file cannot be created or written (error, OK).
std::string SaveFailedMessage(const std::string& fileName, int uiLanguage);
// The results file at start, or the load flow: the file cannot be opened or read (error, OK).
std::string LoadFailedMessage(const std::string& fullPath, int uiLanguage);

// The settings store speaks German only, whatever the language.
// A write could not create the section.
std::string SectionNotCreatedMessage(const std::string& section);
// A write could not set the value.
std::string ValueNotSetMessage(const std::string& name);
