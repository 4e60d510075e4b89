#include <gtest/gtest.h>

#include "store/SavedGameName.h"
#include "store/StoreTexts.h"

namespace {

TEST(SavedGameName, ExtensionOfTheFileNameBecomesAqd) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    for (const Case& c : {
             Case{"level.txt", "level.aqd"},
             Case{"my.game.old", "my.game.aqd"},
             Case{"results", "results.aqd"},
             Case{"/home/jörg/Meine Spiele/stand.aqd", "/home/jörg/Meine Spiele/stand.aqd"},
             Case{"/home/a.b/results", "/home/a.b/results.aqd"},  // a dot in a folder is no extension
             Case{"/home/a.b/c.d/level.txt", "/home/a.b/c.d/level.aqd"},
             Case{"/tmp/results.", "/tmp/results.aqd"},
             Case{"/tmp/stand.AQD", "/tmp/stand.aqd"},
             Case{"/tmp/.results", "/tmp/.results.aqd"},  // a hidden file keeps its leading dot
             Case{".aqd", ".aqd.aqd"},
             Case{"/tmp/.hidden.txt", "/tmp/.hidden.aqd"},
         }) {
        EXPECT_EQ(WithSavedGameExtension(c.chosen), c.written) << c.chosen;
    }
}

TEST(SavedGameName, FileNameAndFolder) {
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
    };
    for (const Case& c : {
             Case{"/home/jörg/Meine Spiele/stand.aqd", "stand.aqd", "/home/jörg/Meine Spiele"},
             Case{"/stand.aqd", "stand.aqd", "/"},
             Case{"stand.aqd", "stand.aqd", ""},
             Case{"", "", ""},
         }) {
        EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }
}

TEST(StoreTexts, GermanForLanguageOneEnglishOtherwise) {
    EXPECT_EQ(OverwriteQuestion("stand.aqd", 1), "Spiel stand.aqd existiert bereits. Überschreiben?");
    EXPECT_EQ(SaveFailedMessage("stand.aqd", 1),
              "Kann Spiel stand.aqd nicht speichern. Datenträger voll oder nicht beschreibbar.");
    EXPECT_EQ(LoadFailedMessage("/home/jörg/stand.aqd", 1),
              "Fehler beim Laden des Spiels /home/jörg/stand.aqd!");
    for (const int language : {-1, 0, 2, 7}) {
        EXPECT_EQ(OverwriteQuestion("stand.aqd", language), "Game stand.aqd already existing. Overwrite?");
        EXPECT_EQ(SaveFailedMessage("stand.aqd", language),
                  "Cannot save game stand.aqd. Drive full or not writable.");
        EXPECT_EQ(LoadFailedMessage("/home/jörg/stand.aqd", language),
                  "Error occured while loading file /home/jörg/stand.aqd!");
    }
    EXPECT_EQ(SectionNotCreatedMessage("common"), "Erzeugung von Schlüssel common misslungen");
    EXPECT_EQ(ValueNotSetMessage("sound"), "Konnte Daten für 'sound' nicht setzen");
}

}  // namespace
