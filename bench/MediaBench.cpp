// Unpacking the ten built-in items and decoding the six pictures, the work
// done once at every start. Reports the unpacked bytes per second and, from
// the same run, the ratio of the unpack time to a plain memcpy of the same
// output bytes, and of the game's bitmap decoder to Qt's image reader.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <QImage>

#include "view/codec/BitmapImage.h"
#include "view/codec/MediaItem.h"

namespace {

struct MediaSet {
    std::vector<std::vector<std::uint8_t>> items;
    std::size_t unpackedBytes = 0;
    std::vector<std::vector<std::uint8_t>> bitmaps;  // the pictures' bitmap files
};

const MediaSet& Media() {
    static const MediaSet set = [] {
        MediaSet s;
        const std::string dir = AQUENDO_MEDIA_DIR;
        for (const char* list : {"waves", "bitmaps"}) {
            for (int i = 0; i < (std::string(list) == "waves" ? 4 : 6); ++i) {
                std::ifstream in(dir + "/" + list + "/" + std::to_string(i) + ".item", std::ios::binary);
                s.items.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
                MediaItem item;
                if (!ReadMediaItem(s.items.back(), item).empty()) {
                    std::cerr << "damaged item " << list << " " << i << "\n";
                    std::exit(2);
                }
                s.unpackedBytes += item.data.size();
                if (std::string(list) == "bitmaps") s.bitmaps.push_back(item.data);
            }
        }
        return s;
    }();
    return set;
}

double g_unpackSeconds = 0;
double g_memcpySeconds = 0;
double g_decodeSeconds = 0;
double g_qtDecodeSeconds = 0;

void UnpackAll(benchmark::State& state) {
    const MediaSet& set = Media();
    // One item per slot, as the game keeps them; later runs reuse the memory.
    std::vector<MediaItem> items(set.items.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < set.items.size(); ++i) {
            ReadMediaItem(set.items[i], items[i]);
            benchmark::DoNotOptimize(items[i].data.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * set.unpackedBytes));
}
BENCHMARK(UnpackAll)->Unit(benchmark::kMillisecond);

void MemcpyAll(benchmark::State& state) {
    const std::size_t bytes = Media().unpackedBytes;
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(MemcpyAll)->Unit(benchmark::kMillisecond);

// Into opaque 32-bit pixels, as the game keeps its sheets.
void DecodeSheets(benchmark::State& state) {
    std::vector<std::vector<std::uint32_t>> pixels(Media().bitmaps.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < Media().bitmaps.size(); ++i) {
            int width = 0;
            int height = 0;
            ReadBitmapSize(Media().bitmaps[i], width, height);
            pixels[i].resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            DecodeBitmap(Media().bitmaps[i], pixels[i].data(), static_cast<std::size_t>(width));
            benchmark::DoNotOptimize(pixels[i].data());
        }
    }
}
BENCHMARK(DecodeSheets)->Unit(benchmark::kMillisecond);

// The yardstick: Qt's reader, then the conversion to the same pixel format.
void DecodeSheetsWithQt(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& file : Media().bitmaps) {
            QImage image = QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP")
                               .convertToFormat(QImage::Format_RGB32);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(DecodeSheetsWithQt)->Unit(benchmark::kMillisecond);

// Keeps the per-iteration times of the two runs for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median stands for the run.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const double seconds = run.GetAdjustedRealTime() / 1e3;  // reported in milliseconds
            if (run.benchmark_name().starts_with("UnpackAll")) g_unpackSeconds = seconds;
            if (run.benchmark_name().starts_with("MemcpyAll")) g_memcpySeconds = seconds;
            if (run.benchmark_name() == "DecodeSheets") g_decodeSeconds = seconds;
            if (run.benchmark_name().starts_with("DecodeSheetsWithQt")) g_qtDecodeSeconds = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (g_unpackSeconds > 0 && g_memcpySeconds > 0) {
        const double bytes = static_cast<double>(Media().unpackedBytes);
        std::cout << "media set: " << Media().items.size() << " items, " << Media().unpackedBytes
                  << " bytes unpacked in " << g_unpackSeconds * 1e3 << " ms, "
                  << bytes / g_unpackSeconds / 1e9 << " GB/s; memcpy " << bytes / g_memcpySeconds / 1e9
                  << " GB/s; unpack takes " << g_unpackSeconds / g_memcpySeconds << " x the memcpy time\n";
    }
    if (g_decodeSeconds > 0 && g_qtDecodeSeconds > 0) {
        std::cout << "pictures: " << Media().bitmaps.size() << " decoded in " << g_decodeSeconds * 1e3
                  << " ms, Qt's reader " << g_qtDecodeSeconds * 1e3 << " ms; ours takes "
                  << g_decodeSeconds / g_qtDecodeSeconds << " x Qt's time\n";
    }
    benchmark::Shutdown();
    return 0;
}
