#include "store/StoreTexts.h"

namespace {

bool German(int uiLanguage) {
    return uiLanguage == 1;
}

}  // namespace

std::string OverwriteQuestion(const std::string& fileName, int uiLanguage) {
    return German(uiLanguage) ? "Spiel " + fileName + " existiert bereits. Überschreiben?"
                              : "Game " + fileName + " already existing. Overwrite?";
}

std::string SaveFailedMessage(const std::string& fileName, int uiLanguage) {
    return German(uiLanguage)
               ? "Kann Spiel " + fileName + " nicht speichern. Datenträger voll oder nicht beschreibbar."
               : "Cannot save game " + fileName + ". Drive full or not writable.";
}

std::string LoadFailedMessage(const std::string& fullPath, int uiLanguage) {
    return German(uiLanguage) ? "Fehler beim Laden des Spiels " + fullPath + "!"
                              : "Error occured while loading file " + fullPath + "!";
}

std::string SectionNotCreatedMessage(const std::string& section) {
    return "Erzeugung von Schlüssel " + section + " misslungen";
}

std::string ValueNotSetMessage(const std::string& name) {
    return "Konnte Daten für '" + name + "' nicht setzen";
}
