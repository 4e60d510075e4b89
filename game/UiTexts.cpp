#include "game/UiTexts.h"

namespace {

constexpr UiText kTexts[] = {
    {"LoadBtn", false, {"Ich hol mir einen alten Spielstand.", "I want to continue an old game."}},
    {"SaveBtn", false, {"Einmal zu oft gesichert ist besser als einmal zuwenig", "Save often, save always."}},
    {"NewGameBtn", false, {"Ich fang ein neues Spiel an.", "I want to play a new game."}},
    {"RestartBtn", false, {"Ich probier's nochmal.", "I try it again."}},
    {"SoundBtn", false, {"Die Geräusche mag ich nicht immer.", "I dont like the sound always."}},
    {"RulesBtn", false, {"Worum geht's da eigentlich?", "What's to do here?"}},
    {"PauseBtn", false, {"Ich brauch eine kurze Pause.", "I need a break."}},
    {"ExitBtn", false, {"Ich hab genug!", "I have enough!"}},
    {"InfoBtn", false, {"Wer hat diese Spiele nur verbrochen?", "Who did these MOXEL GAME?"}},
    {"PauseText",
     true,
     {"Spiel angehalten! Linke Maustaste zum weitermachen.",
      "Game paused! Press left mouse button to continue."}},
    {"sUpBtn", false, {"nächsthöhere ungelöste Stufe", "Next unsolved level"}},
    {"sDownBtn", false, {"nächstniedere ungelöste Stufe", "Previous unsolved level"}},
    {"LevelScroll", false, {"Stufe wählen", "Select level"}},
    {"TimeLabel", true, {"Zeit:", "Time:"}},
    {"levellabel", true, {"Stufe:", "Level:"}},
    // Written in the language the button switches to.
    {"TongueBtn", false, {"I don't speak german.", "Ich spreche nicht englisch."}},
    {"MoxelBtn", false, {"Hurra, es gibt noch mehr Moxel Games.", "Hurrah, there are more MOXEL GAMES."}},
};

}  // namespace

std::span<const UiText> MainFormTexts() {
    return kTexts;
}
