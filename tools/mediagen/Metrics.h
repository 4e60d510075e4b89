#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Figures that say whether the pictures and sounds read and sound as meant,
// measured on the items as they are committed.

// Relative luminance of an sRGB colour (0xRRGGBB), 0..1.
double RelativeLuminance(std::uint32_t rgb);
// (L1 + 0.05) / (L2 + 0.05) with the lighter one on top: 1..21.
double ContrastRatio(double luminanceA, double luminanceB);
// The colour as a viewer without green cones (deuteranopia) sees it.
std::uint32_t AsDeuteranope(std::uint32_t rgb);
// The same without red cones (protanopia).
std::uint32_t AsProtanope(std::uint32_t rgb);

// An opaque picture, 0xffRRGGBB, rows top-down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A pipe where it meets one side of a piece: measured on the pixel line just
// inside the cell's edge, against the ground at the two ends of that line.
struct PipeAtEdge {
    int width = 0;         // pixels that stand out from the ground, in one run across the middle
    double contrast = 1;   // their mean luminance against the ground's
    int first = 0;         // where the run starts along the side
    double luminance = 0;  // the run's mean luminance
};
// Side d of the 36 x 36 cell at (x0, y0): 0 right, 1 up, 2 left, 3 down.
PipeAtEdge MeasurePipeAtEdge(const Picture& sheet, int x0, int y0, int side);

// A pipe where it leaves its piece against the floor beside it: the pipe's
// run on side d of the piece cell at (px, py) against the two rows or
// columns of the cell at (fx, fy) of the floor picture that touch that run.
double PipeAgainstFloor(const Picture& pieces, int px, int py, int side, const Picture& floor, int fx,
                        int fy);

// Lay a square tile beside a copy of itself: the mean colour step between
// neighbouring columns across that seam, over the mean step inside the tile
// (and the same for rows). 1 means the seam cannot be told from the texture.
struct SeamRatio {
    double columns = 0;
    double rows = 0;
};
SeamRatio MeasureSeam(const Picture& sheet, int x0, int y0, int size);

// Loudness and shape of an 8-bit unsigned mono sound.
struct SoundFigures {
    double seconds = 0;
    double rmsDb = 0;       // RMS of the part louder than 40 dB below the peak, dB full scale
    double bodyMs = 0;      // until the 10 ms loudness falls for good below 20 dB under its peak
    double tailMs = 0;      // until it falls for good below 40 dB under its peak
    double centroidHz = 0;  // spectral centroid, loudness-weighted: how bright, or harsh
    double above2kHz = 0;   // share of the energy above 2 kHz
};
SoundFigures MeasureSound(const std::uint8_t* samples, std::size_t count, int rate);
// The loudness figure alone, for a signal in -1..1.
double AudibleRmsDb(const std::vector<double>& signal, int rate);

// Prints the figures of the items under DIR (waves/, bitmaps/). False with a
// reason when an item cannot be read.
bool PrintMetrics(const std::string& mediaDir, std::ostream& out, std::string& error);
