#include "tools/mediagen/Metrics.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>

#include "core/Geometry.h"
#include "core/LevelRecord.h"
#include "core/Piece.h"
#include "view/codec/BitmapImage.h"
#include "view/codec/MediaItem.h"
#include "view/codec/WaveImage.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int Encoded(double linear) {
    const double c = std::clamp(linear, 0.0, 1.0);
    const double v = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(255 * v));
}

// Machado, Oliveira and Fernandes (2009), full severity, on linear RGB.
std::uint32_t Simulated(std::uint32_t rgb, const double (&m)[3][3]) {
    const double c[3] = {Linear(rgb >> 16 & 255), Linear(rgb >> 8 & 255), Linear(rgb & 255)};
    int out[3];
    for (int i = 0; i < 3; ++i) out[i] = Encoded(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2]);
    return static_cast<std::uint32_t>(out[0] << 16 | out[1] << 8 | out[2]);
}

double Distance(std::uint32_t a, std::uint32_t b) {
    const double dr = double(a >> 16 & 255) - double(b >> 16 & 255);
    const double dg = double(a >> 8 & 255) - double(b >> 8 & 255);
    const double db = double(a & 255) - double(b & 255);
    return std::sqrt(dr * dr + dg * dg + db * db);
}

std::uint32_t MeanColour(const std::vector<std::uint32_t>& colours) {
    double r = 0, g = 0, b = 0;
    for (std::uint32_t c : colours) r += c >> 16 & 255, g += c >> 8 & 255, b += c & 255;
    const double n = std::max<std::size_t>(colours.size(), 1);
    return static_cast<std::uint32_t>(std::lround(r / n)) << 16 |
           static_cast<std::uint32_t>(std::lround(g / n)) << 8 |
           static_cast<std::uint32_t>(std::lround(b / n));
}

double MeanLuminance(const std::vector<std::uint32_t>& colours) {
    double sum = 0;
    for (std::uint32_t c : colours) sum += RelativeLuminance(c);
    return colours.empty() ? 0 : sum / static_cast<double>(colours.size());
}

bool ReadItem(const std::filesystem::path& path, MediaItem& item, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (!in.eof() && !in) {
        error = "cannot read " + path.string();
        return false;
    }
    const std::string problem = ReadMediaItem(bytes, item);
    if (!problem.empty()) error = path.string() + ": " + problem;
    return problem.empty();
}

bool ReadPicture(const std::filesystem::path& path, Picture& picture, std::string& error) {
    MediaItem item;
    if (!ReadItem(path, item, error)) return false;
    BitmapImage image;
    const std::string problem = ReadBitmapImage(item.data, image);
    if (!problem.empty()) {
        error = path.string() + ": " + problem;
        return false;
    }
    picture = {image.width, image.height, std::move(image.pixels)};
    return true;
}

// The colours of the disc the water mask paints, in water tile n.
std::vector<std::uint32_t> WaterDisc(const Picture& strip, int n) {
    std::vector<std::uint32_t> disc;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if ((strip.At(72 + x, y) & 0xffffff) == 0) disc.push_back(strip.At(12 * n + x, y) & 0xffffff);
    return disc;
}

double Db(double rms) {
    return 20 * std::log10(std::max(rms, 1e-9));
}

}  // namespace

double RelativeLuminance(std::uint32_t rgb) {
    return 0.2126 * Linear(rgb >> 16 & 255) + 0.7152 * Linear(rgb >> 8 & 255) + 0.0722 * Linear(rgb & 255);
}

double ContrastRatio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::uint32_t AsDeuteranope(std::uint32_t rgb) {
    static const double m[3][3] = {
        {0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}};
    return Simulated(rgb, m);
}

std::uint32_t AsProtanope(std::uint32_t rgb) {
    static const double m[3][3] = {
        {0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}};
    return Simulated(rgb, m);
}

PipeAtEdge MeasurePipeAtEdge(const Picture& sheet, int x0, int y0, int side) {
    constexpr int kCell = kCellSize, kEnd = 5;
    std::vector<std::uint32_t> line(kCell);
    for (int i = 0; i < kCell; ++i) {
        const int x = side == 0 ? kCell - 2 : side == 2 ? 1 : i;
        const int y = side == 1 ? 1 : side == 3 ? kCell - 2 : i;
        line[i] = sheet.At(x0 + x, y0 + y) & 0xffffff;
    }
    std::vector<std::uint32_t> ground(line.begin(), line.begin() + kEnd);
    ground.insert(ground.end(), line.end() - kEnd, line.end());
    const std::uint32_t reference = MeanColour(ground);
    // The run through the middle of the side of pixels unlike the ground.
    auto standsOut = [&](int i) { return Distance(line[i], reference) > 48; };
    PipeAtEdge result;
    int first = kCell / 2, last = kCell / 2 - 1;
    if (!standsOut(kCell / 2) && !standsOut(kCell / 2 - 1)) return result;
    while (first > 0 && standsOut(first - 1)) --first;
    while (last < kCell - 1 && standsOut(last + 1)) ++last;
    result.width = last - first + 1;
    result.first = first;
    result.luminance = MeanLuminance({line.begin() + first, line.begin() + last + 1});
    result.contrast = ContrastRatio(result.luminance, MeanLuminance(ground));
    return result;
}

double PipeAgainstFloor(const Picture& pieces, int px, int py, int side, const Picture& floor, int fx,
                        int fy) {
    constexpr int kCell = kCellSize;
    const PipeAtEdge pipe = MeasurePipeAtEdge(pieces, px, py, side);
    if (pipe.width == 0) return 1;
    std::vector<std::uint32_t> touching;
    for (int i = pipe.first; i < pipe.first + pipe.width; ++i) {
        for (int depth = 0; depth < 2; ++depth) {
            // The floor lies beyond the side: its near edge touches the pipe.
            const int x = side == 0 ? depth : side == 2 ? kCell - 1 - depth : i;
            const int y = side == 1 ? kCell - 1 - depth : side == 3 ? depth : i;
            touching.push_back(floor.At(fx + x, fy + y) & 0xffffff);
        }
    }
    return ContrastRatio(pipe.luminance, MeanLuminance(touching));
}

SeamRatio MeasureSeam(const Picture& sheet, int x0, int y0, int size) {
    auto step = [&](int ax, int ay, int bx, int by) {
        return Distance(sheet.At(x0 + ax, y0 + ay) & 0xffffff, sheet.At(x0 + bx, y0 + by) & 0xffffff);
    };
    double insideColumns = 0, insideRows = 0, seamColumns = 0, seamRows = 0;
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i + 1 < size; ++i) {
            insideColumns += step(i, j, i + 1, j);
            insideRows += step(j, i, j, i + 1);
        }
        seamColumns += step(size - 1, j, 0, j);
        seamRows += step(j, size - 1, j, 0);
    }
    const double pairs = static_cast<double>(size - 1);
    SeamRatio ratio;
    ratio.columns = seamColumns / std::max(insideColumns / pairs, 1e-9);
    ratio.rows = seamRows / std::max(insideRows / pairs, 1e-9);
    return ratio;
}

namespace {

// Mean power of each 10 ms window.
std::vector<double> WindowPower(const std::vector<double>& signal, int rate) {
    const std::size_t window = static_cast<std::size_t>(rate / 100);
    std::vector<double> power;
    for (std::size_t at = 0; at < signal.size(); at += window) {
        double sum = 0;
        const std::size_t end = std::min(signal.size(), at + window);
        for (std::size_t i = at; i < end; ++i) sum += signal[i] * signal[i];
        power.push_back(sum / static_cast<double>(end - at));
    }
    return power;
}

}  // namespace

double AudibleRmsDb(const std::vector<double>& signal, int rate) {
    const std::vector<double> power = WindowPower(signal, rate);
    if (power.empty()) return Db(0);
    const double peak = *std::max_element(power.begin(), power.end());
    double loud = 0;
    std::size_t windows = 0;
    for (double p : power)
        if (p >= peak * 1e-4) loud += p, ++windows;
    return Db(std::sqrt(loud / std::max<std::size_t>(windows, 1)));
}

SoundFigures MeasureSound(const std::uint8_t* samples, std::size_t count, int rate) {
    SoundFigures f;
    f.seconds = static_cast<double>(count) / rate;
    std::vector<double> signal(count);
    for (std::size_t i = 0; i < count; ++i) signal[i] = (samples[i] - 128) / 128.0;
    const std::vector<double> power = WindowPower(signal, rate);
    const double peak = *std::max_element(power.begin(), power.end());
    for (std::size_t w = 0; w < power.size(); ++w) {
        if (power[w] >= peak * 1e-2) f.bodyMs = 10.0 * (w + 1);
        if (power[w] >= peak * 1e-4) f.tailMs = 10.0 * (w + 1);
    }
    f.rmsDb = AudibleRmsDb(signal, rate);

    // Spectrum of Hann-windowed frames of 256 samples, weighted by their energy.
    constexpr int kFrame = 256;
    double weighted = 0, total = 0, high = 0;
    std::vector<double> frame(kFrame);
    for (std::size_t at = 0; at + kFrame <= count; at += kFrame / 2) {
        for (int i = 0; i < kFrame; ++i)
            frame[i] = (samples[at + i] - 128) / 128.0 * (0.5 - 0.5 * std::cos(2 * kPi * i / (kFrame - 1)));
        for (int k = 1; k < kFrame / 2; ++k) {
            double re = 0, im = 0;
            for (int i = 0; i < kFrame; ++i) {
                re += frame[i] * std::cos(2 * kPi * k * i / kFrame);
                im -= frame[i] * std::sin(2 * kPi * k * i / kFrame);
            }
            const double energy = re * re + im * im;
            const double hz = static_cast<double>(k) * rate / kFrame;
            weighted += energy * hz;
            total += energy;
            if (hz > 2000) high += energy;
        }
    }
    f.centroidHz = total > 0 ? weighted / total : 0;
    f.above2kHz = total > 0 ? high / total : 0;
    return f;
}

bool PrintMetrics(const std::string& mediaDir, std::ostream& out, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path dir = mediaDir;
    Picture pieces, floor, water;
    if (!ReadPicture(dir / "bitmaps/0.item", pieces, error) ||
        !ReadPicture(dir / "bitmaps/1.item", floor, error) ||
        !ReadPicture(dir / "bitmaps/2.item", water, error))
        return false;
    out << std::fixed << std::setprecision(2);

    // Pieces: every opening of every rest frame.
    static const int kOpenings[6] = {0, 0b0001, 0b0011, 0b0101, 0b0111, 0b1111};
    out << "pieces: pipe at the cell's edge, narrowest and lowest contrast over the four rest frames\n";
    int narrowest = 99;
    double weakest = 99;
    for (int type = 1; type <= 5; ++type) {
        int typeWidth = 99;
        double typeContrast = 99;
        for (int o = 0; o < 4; ++o) {
            for (int d = 0; d < 4; ++d) {
                if (!(kOpenings[type] & (1 << ((d - o + 4) % 4)))) continue;
                const PipeAtEdge pipe = MeasurePipeAtEdge(pieces, 108 * o, 36 * (type - 1), d);
                typeWidth = std::min(typeWidth, pipe.width);
                typeContrast = std::min(typeContrast, pipe.contrast);
            }
        }
        out << "  type " << type << ": width " << typeWidth << " px, contrast " << typeContrast << ":1\n";
        narrowest = std::min(narrowest, typeWidth);
        weakest = std::min(weakest, typeContrast);
    }
    out << "  all: width " << narrowest << " px (at least 10), contrast " << weakest << ":1 (at least 3)\n";

    // The water square: full against empty, also as colour-blind eyes see it.
    const std::vector<std::uint32_t> full = WaterDisc(water, 5), empty = WaterDisc(water, 0);
    auto seen = [](std::vector<std::uint32_t> colours, std::uint32_t (*eye)(std::uint32_t)) {
        for (std::uint32_t& c : colours) c = eye(c);
        return MeanLuminance(colours);
    };
    out << "water: tile 5 against tile 0, contrast "
        << ContrastRatio(MeanLuminance(full), MeanLuminance(empty))
        << ":1 (at least 4.5); as a deuteranope sees it "
        << ContrastRatio(seen(full, AsDeuteranope), seen(empty, AsDeuteranope)) << ":1, as a protanope "
        << ContrastRatio(seen(full, AsProtanope), seen(empty, AsProtanope)) << ":1\n";

    // Floors: the tiles that stand alone, laid beside and below copies of themselves.
    static const int kSingles[] = {0,  1,  2,  3,  4,  5,  6,  15, 23, 24, 25, 26, 27, 31, 37, 38, 39,
                                   45, 46, 47, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
    static const int kContinuous[] = {1, 3, 4, 23, 25, 26, 31, 39, 47, 53, 54, 55, 56, 57, 58};
    out << "floor: seam ratio (columns, rows), at most 1.5 for the continuous textures (*)\n";
    double worst = 0;
    int column = 0;
    for (int f : kSingles) {
        const SeamRatio r = MeasureSeam(floor, 36 * (f & 7), 36 * (f >> 3), 36);
        const bool continuous =
            std::find(std::begin(kContinuous), std::end(kContinuous), f) != std::end(kContinuous);
        if (continuous) worst = std::max({worst, r.columns, r.rows});
        out << (column == 0 ? "  " : "   ") << std::setw(2) << f << (continuous ? "*" : " ") << " "
            << std::setw(5) << r.columns << " " << std::setw(5) << r.rows;
        if (++column == 4) out << "\n", column = 0;
    }
    if (column != 0) out << "\n";
    out << "  worst continuous texture: " << worst << "\n";

    // The pipes against the floors: a straight piece at rest, both ways, its
    // four pipe ends against each floor tile laid beside them.
    Picture plate;
    if (!ReadPicture(dir / "bitmaps/3.item", plate, error)) return false;
    const int straight = 36 * (Straight - 1);
    auto lowest = [&](const Picture& ground, int fx, int fy) {
        double low = 99;
        for (int side = 0; side < 4; ++side)
            low = std::min(low, PipeAgainstFloor(pieces, side % 2 ? 108 : 0, straight, side, ground, fx, fy));
        return low;
    };
    out << "floor: pipe against the floor beside it, lowest of the four ends, per floor code (at least 3)\n";
    double weakestFloor = 99;
    int weakestCode = 0;
    for (int f = 0; f < 64; ++f) {
        if (f == kBareFloor) {
            out << "   7 plate\n";
            continue;
        }
        const double c = lowest(floor, 36 * (f & 7), 36 * (f >> 3));
        if (c < weakestFloor) weakestFloor = c, weakestCode = f;
        out << (f % 8 == 0 ? "  " : "   ") << std::setw(2) << f << " " << std::setw(5) << c;
        if (f % 8 == 7) out << "\n";
    }
    double plateLow = 99;
    for (int c = 1; c <= kColumns; ++c)
        for (int r = 1; r <= kRows; ++r)
            plateLow = std::min(plateLow, lowest(plate, CellLeft(c), CellTop(r)));
    out << "  lowest: " << weakestFloor << ":1 on tile " << weakestCode << "; the bare plate (7) " << plateLow
        << ":1\n";

    // Sounds.
    static const char* kNames[4] = {"flow", "solved", "refuse", "time up"};
    out << "sounds: RMS of the audible part, body and tail, brightness\n";
    double loudest = -999, quietest = 0;
    for (int n = 0; n < 4; ++n) {
        MediaItem item;
        if (!ReadItem(dir / ("waves/" + std::to_string(n) + ".item"), item, error)) return false;
        WaveImage wave;
        const std::string problem = ReadWaveImage(item.data, wave);
        if (!problem.empty() || wave.bitsPerSample != 8 || wave.channels != 1) {
            error = "wave " + std::to_string(n) + ": not 8-bit mono " + problem;
            return false;
        }
        const SoundFigures s =
            MeasureSound(item.data.data() + wave.dataOffset, wave.dataSize, wave.sampleRate);
        out << "  " << std::setw(7) << kNames[n] << ": " << wave.sampleRate << " Hz, " << s.seconds
            << " s, RMS " << s.rmsDb << " dB, body " << std::setprecision(0) << s.bodyMs << " ms, tail "
            << s.tailMs << " ms, centroid " << s.centroidHz << " Hz, " << std::setprecision(2)
            << 100 * s.above2kHz << " % above 2 kHz\n";
        loudest = std::max(loudest, s.rmsDb);
        quietest = std::min(quietest, s.rmsDb);
    }
    out << "  loudness spread: " << loudest - quietest << " dB (at most 3)\n";
    return true;
}
