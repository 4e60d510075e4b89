#pragma once

#include <ostream>
#include <string>
#include <vector>

// aquendo-mediagen: makes the built-in pictures and sounds.
//   write [--seed N] DIR          the ten items into DIR/waves and DIR/bitmaps
//   check [--seed N] DIR          regenerates and compares with the items in DIR
//   export [--seed N] DIR         the unpacked .wav and .bmp files, to look at and listen to
//   contact-sheet MEDIA GLYPHS PNG   all pictures, glyphs and the splash on one sheet
//   metrics DIR                   how well the items in DIR read and sound: pipes, water, floor seams,
//   loudness
// Exit status 0 on success, 1 when check finds a difference, 2 on bad use or I/O failure.
int RunMediaGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
