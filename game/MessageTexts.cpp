#include "game/MessageTexts.h"

namespace {

struct PageRow {
    const char* name;
    const char* german;
    const char* english;
    const char* french;  // nullptr: not set in French
    bool twoButtons;
};

constexpr PageRow kPages[9] = {
    {"won", "Hurra, geschafft!", "Hurrah, you did it!", "Super, tu as réussi!", false},
    {"restart", "Willst Du die Stufe wirklich aufgeben?", "Do you really want to give up the level?",
     "Do you really want to give up the level?", true},
    {"endgame", "Willst Du wirklich schon aufhören?", "Do you really want to go?", "Veux-tu vraiment arrêter?",
     true},
    {"giveup", "Willst Du das Spiel wirklich aufgeben?", "Do you really want to give up the game?",
     "Veux-tu vraiment abandonner le jeu?", true},
    {"toslow", "Du warst leider zu langsam!", "Sorry, you weren't quick enough!", "Sorry, you weren't quick enough!",
     false},
    {"allsolved", "Gratulation, Du hast alle Stufen gelöst.", "Congratulation, you solved all levels.",
     "Congratulation, you solved all levels.", false},
    {"gameover", "Das Spiel ist leider aus.", "Sorry, game over!", nullptr, false},
    {"nextlevel", "Auf zur nächsten Stufe!", "The next level is waiting!", nullptr, false},
    {"lost", "Du hast leider verloren!", "Sorry, that was it!", "Tu as malheureusement perdu!", false},
};

}  // namespace

PageTexts MessageTexts(int page, int uiLanguage) {
    if (page < 1 || page > 9) return {nullptr, nullptr, nullptr};
    const PageRow& row = kPages[page - 1];
    PageTexts texts{row.english, nullptr, nullptr};
    if (uiLanguage == 1)
        texts.label = row.german;
    else if (uiLanguage == 2)
        texts.label = row.french;
    if (row.twoButtons) {
        switch (uiLanguage) {
            case 1: texts.confirm = "Ja"; texts.refuse = "Nein"; break;
            case 2: texts.confirm = "Oui"; texts.refuse = "Non"; break;
            default: texts.confirm = "Yes"; texts.refuse = "No"; break;
        }
    }
    return texts;
}

const char* PageName(int page) { return page >= 1 && page <= 9 ? kPages[page - 1].name : nullptr; }
