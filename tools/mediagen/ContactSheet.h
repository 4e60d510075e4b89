#pragma once

#include <string>

// One picture of everything the media set shows: the six pictures enlarged
// twice, a board laid out from the sheets with the game's copy, AND and OR,
// every glyph at button size and enlarged, and the splash. For looking at,
// not for the game.
bool RenderContactSheet(const std::string& mediaDir, const std::string& glyphDir, const std::string& pngPath,
                        std::string& error);
