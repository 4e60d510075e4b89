#include "store/StoreTexts.h"

#include "core/Language.h"

namespace {

constexpr Text kOverwrite{"Spiel %1 existiert bereits. Überschreiben?",
                          "Game %1 already existing. Overwrite?"};
constexpr Text kSaveFailed{"Kann Spiel %1 nicht speichern. Datenträger voll oder nicht beschreibbar.",
                           "Cannot save game %1. Drive full or not writable."};
constexpr Text kLoadFailed{"Fehler beim Laden des Spiels %1!", "Error occured while loading file %1!"};

}  // namespace

std::string OverwriteQuestion(const std::string& fileName, int uiLanguage) {
    return Fill(kOverwrite.Pick(uiLanguage), {fileName});
}

std::string SaveFailedMessage(const std::string& fileName, int uiLanguage) {
    return Fill(kSaveFailed.Pick(uiLanguage), {fileName});
}

std::string LoadFailedMessage(const std::string& fullPath, int uiLanguage) {
    return Fill(kLoadFailed.Pick(uiLanguage), {fullPath});
}

std::string SectionNotCreatedMessage(const std::string& section) {
    return "Erzeugung von Schlüssel " + section + " misslungen";
}

std::string ValueNotSetMessage(const std::string& name) {
    return "Konnte Daten für '" + name + "' nicht setzen";
}
