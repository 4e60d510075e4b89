#pragma once

#include <QRect>
#include <QRgb>
#include <cstddef>
#include <iterator>
#include <string_view>
#include <vector>

#include "core/Geometry.h"
#include "view/DigitDisplay.h"
#include "windows/MainForm.h"

namespace layout {

// What a row of the main window's layout builds.
enum class ControlKind {
    Strip,         // the tool bar's metal ground
    ToolButton,    // a flat glyph button; a switch where it has an off glyph
    Well,          // a display's black ground in its bevel (two frames, no name)
    Caption,       // a display's label
    Display,       // a ready-made image: the level and the time
    Board,         // the board, in the board surface's size
    Gauge,         // the solved levels
    Panel,         // a sunken metal panel
    ScrollButton,  // a glyph button on the panel
    ScrollBar,     // the level chooser
    Notice,        // a large text across the board, hidden until needed
};

// How a caption or a notice is written.
struct TextLook {
    QRgb colour;
    int pixels;  // the font's height
    bool bold = false;
};

struct Control {
    using Click = void (Game::*)();

    // A control without text; a button has a glyph, a switch also its glyph
    // when it is up.
    constexpr Control(ControlKind kind, const char* name, const char* parent, QRect at,
                      const char* glyph = nullptr, Click click = nullptr, const char* offGlyph = nullptr)
        : kind(kind), name(name), parent(parent), at(at), glyph(glyph), click(click), offGlyph(offGlyph) {}
    constexpr Control(ControlKind kind, const char* name, const char* parent, QRect at, TextLook text)
        : kind(kind), name(name), parent(parent), at(at), text(text) {}

    ControlKind kind;
    const char* name;    // object name; the texts find their control by it
    const char* parent;  // an earlier row's name; nullptr for the window
    QRect at;            // in the parent
    const char* glyph = nullptr;
    Click click = nullptr;  // what a button's click asks of the game
    const char* offGlyph = nullptr;
    TextLook text{};
};

using enum ControlKind;

// A button on the tool bar, left pixels from its start.
constexpr QRect OnStrip(int left, int width = 25) {
    return {left, 4, width, 25};
}
// A display's bevel; its black ground is a pixel inside at the top and bottom.
constexpr QRect Bevel(int left, int width) {
    return {left, 4, width, 26};
}
// The gauge and the level panel stand beside the board, this far below the tool bar.
inline constexpr int kSideTop = TMainForm::kToolBarHeight + 130;
inline constexpr QRgb kYellow = 0xffffff00, kGreen = 0xff00ff00;

// Every control of the main window in the order it is made, which is also the
// order they stack in: later rows lie above earlier ones.
// clang-format off
inline constexpr Control kMainForm[] = {
    // kind        name           parent         where              glyph or text    click
    {Strip,        "ToolPanel",   nullptr,       {0, 0, kBoardWidth, TMainForm::kToolBarHeight}},
    {ToolButton,   "NewGameBtn",  "ToolPanel",   OnStrip(4),        "bomb",          &Game::NewGameBtnClick},
    {ToolButton,   "RestartBtn",  "ToolPanel",   OnStrip(31),       "restart",       &Game::RestartBtnClick},
    {ToolButton,   "LoadBtn",     "ToolPanel",   OnStrip(58),       "load",          &Game::LoadBtnClick},
    {ToolButton,   "SaveBtn",     "ToolPanel",   OnStrip(85),       "save",          &Game::SaveBtnClick},
    {ToolButton,   "PauseBtn",    "ToolPanel",   OnStrip(112),      "pause",         &Game::Pause},
    {ToolButton,   "SoundBtn",    "ToolPanel",   OnStrip(139),      "sound-on",      nullptr, "sound-off"},
    {ToolButton,   "ExitBtn",     "ToolPanel",   OnStrip(166),      "exit"},
    {ToolButton,   "TongueBtn",   "ToolPanel",   OnStrip(384),      "language",      &Game::TongueBtnClick},
    {ToolButton,   "RulesBtn",    "ToolPanel",   OnStrip(411),      "rules",         &Game::rules},
    {ToolButton,   "InfoBtn",     "ToolPanel",   OnStrip(438),      "info",          &Game::info},
    {ToolButton,   "MoxelBtn",    "ToolPanel",   OnStrip(465, 29),  "maker",         &Game::MoxelBtnClick},
    {Well,         nullptr,       "ToolPanel",   Bevel(196, 101)},
    {Caption,      "levellabel",  "ToolPanel",   {200, 12, 45, 16}, TextLook{kYellow, 12}},
    {Display,      "levelbox",    "ToolPanel",   {236, 7, kLevelDisplayWidth, kDigitHeight}},
    {Well,         nullptr,       "ToolPanel",   Bevel(300, 81)},
    {Caption,      "TimeLabel",   "ToolPanel",   {304, 12, 41, 16}, TextLook{kGreen, 12}},
    {Display,      "timbox",      "ToolPanel",   {336, 7, kTimeDisplayWidth, kDigitHeight}},
    {Board,        "box",         nullptr,       {0, TMainForm::kToolBarHeight, kBoardWidth, kBoardHeight}},
    {Gauge,        "gsol",        nullptr,       {410, kSideTop, 22, 180}},
    {Panel,        "ScrollPanel", nullptr,       {450, kSideTop, 22, 181}},
    {ScrollButton, "sUpBtn",      "ScrollPanel", {0, 0, 23, 22},    "unsolved-up",   &Game::sUpBtnClick},
    {ScrollBar,    "LevelScroll", "ScrollPanel", {0, 21, 22, 138}},
    {ScrollButton, "sDownBtn",    "ScrollPanel", {0, 159, 23, 22},  "unsolved-down", &Game::sDownBtnClick},
    {Notice,       "PauseText",   nullptr,       {68, 136, 265, 109}, TextLook{kYellow, 27, true}},
};
// clang-format on

// The row of the named control; a name not in the table does not compile.
consteval std::size_t RowOf(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kMainForm); ++i)
        if (kMainForm[i].name && kMainForm[i].name == name) return i;
    throw "no such control";
}

// Each parent is made before its children, and no two controls share a name.
consteval bool ParentsFirstNamesOnce() {
    const auto& rows = kMainForm;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        bool parentBefore = !rows[i].parent;
        for (std::size_t j = 0; j < i; ++j) {
            if (rows[i].parent && rows[j].name && rows[j].name == std::string_view(rows[i].parent))
                parentBefore = true;
            if (rows[i].name && rows[j].name && rows[j].name == std::string_view(rows[i].name)) return false;
        }
        if (!parentBefore) return false;
    }
    return true;
}
static_assert(ParentsFirstNamesOnce());

// Makes the rows' controls on the window, in the table's order: one widget a
// row, the first of a well's two frames for a well.
std::vector<QWidget*> BuildMainForm(QWidget* window, BoardSurface& surface);

}  // namespace layout
