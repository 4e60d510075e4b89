#include "tools/mediagen/MediaGenTool.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/mediagen/ContactSheet.h"
#include "tools/mediagen/MediaSet.h"
#include "tools/mediagen/Metrics.h"

namespace {

namespace fs = std::filesystem;

bool ReadFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int Usage(std::ostream& err) {
    err << "usage: aquendo-mediagen write|check|export [--seed N] DIR\n"
           "       aquendo-mediagen contact-sheet MEDIA_DIR GLYPH_DIR OUT.png\n"
           "       aquendo-mediagen metrics MEDIA_DIR\n";
    return 2;
}

}  // namespace

int RunMediaGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err);
    const std::string& command = args[0];
    if (command == "contact-sheet") {
        if (args.size() != 4) return Usage(err);
        std::string error;
        if (!RenderContactSheet(args[1], args[2], args[3], error)) {
            err << "contact-sheet: " << error << "\n";
            return 2;
        }
        out << "wrote " << args[3] << "\n";
        return 0;
    }
    if (command == "metrics") {
        if (args.size() != 2) return Usage(err);
        std::string error;
        if (!PrintMetrics(args[1], out, error)) {
            err << "metrics: " << error << "\n";
            return 2;
        }
        return 0;
    }

    std::uint32_t seed = kDefaultMediaSeed;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (rest.size() == 3 && rest[0] == "--seed") {
        try {
            seed = static_cast<std::uint32_t>(std::stoul(rest[1]));
        } catch (...) {
            return Usage(err);
        }
        rest.erase(rest.begin(), rest.begin() + 2);
    }
    if (rest.size() != 1 || (command != "write" && command != "check" && command != "export"))
        return Usage(err);
    const fs::path dir = rest[0];

    out << "seed " << seed << "\n";
    int differences = 0;
    for (const MediaFile& file : BuildAllMedia(seed)) {
        const fs::path path = dir / file.path;
        if (command == "write") {
            if (!WriteFile(path, file.item)) {
                err << "cannot write " << path.string() << "\n";
                return 2;
            }
            out << file.path << ": " << file.item.size() << " bytes, unpacked " << file.image.size() << "\n";
        } else if (command == "export") {
            fs::path image = path;
            image.replace_extension(file.path.starts_with("waves") ? ".wav" : ".bmp");
            if (!WriteFile(image, file.image)) {
                err << "cannot write " << image.string() << "\n";
                return 2;
            }
            out << image.string() << "\n";
        } else {
            std::vector<std::uint8_t> committed;
            const bool same = ReadFile(path, committed) && committed == file.item;
            if (!same) ++differences;
            out << file.path << ": " << (same ? "same" : "differs") << "\n";
        }
    }
    return differences == 0 ? 0 : 1;
}
