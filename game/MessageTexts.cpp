#include "game/MessageTexts.h"

#include "core/Language.h"
#include "game/Shell.h"

namespace {

struct PageRow {
    const char* name;
    Text label;  // French nullptr: not set in French
    bool twoButtons;
};

constexpr PageRow kPages[kMessagePages] = {
    {"won", {"Hurra, geschafft!", "Hurrah, you did it!", "Super, tu as réussi!"}, false},
    {"restart",
     {"Willst Du die Stufe wirklich aufgeben?", "Do you really want to give up the level?",
      "Do you really want to give up the level?"},
     true},
    {"endgame",
     {"Willst Du wirklich schon aufhören?", "Do you really want to go?", "Veux-tu vraiment arrêter?"},
     true},
    {"giveup",
     {"Willst Du das Spiel wirklich aufgeben?", "Do you really want to give up the game?",
      "Veux-tu vraiment abandonner le jeu?"},
     true},
    {"toslow",
     {"Du warst leider zu langsam!", "Sorry, you weren't quick enough!", "Sorry, you weren't quick enough!"},
     false},
    {"allsolved",
     {"Gratulation, Du hast alle Stufen gelöst.", "Congratulation, you solved all levels.",
      "Congratulation, you solved all levels."},
     false},
    {"gameover", {"Das Spiel ist leider aus.", "Sorry, game over!", nullptr}, false},
    {"nextlevel", {"Auf zur nächsten Stufe!", "The next level is waiting!", nullptr}, false},
    {"lost", {"Du hast leider verloren!", "Sorry, that was it!", "Tu as malheureusement perdu!"}, false},
};

constexpr Text kYes{"Ja", "Yes", "Oui"};
constexpr Text kNo{"Nein", "No", "Non"};

}  // namespace

PageTexts MessageTexts(int page, int uiLanguage) {
    if (page < 1 || page > kMessagePages) return {nullptr, nullptr, nullptr};
    const PageRow& row = kPages[page - 1];
    if (!row.twoButtons) return {row.label.Pick(uiLanguage), nullptr, nullptr};
    return {row.label.Pick(uiLanguage), kYes.Pick(uiLanguage), kNo.Pick(uiLanguage)};
}

const char* PageName(int page) {
    return page >= 1 && page <= kMessagePages ? kPages[page - 1].name : nullptr;
}
