// Any bytes as a settings value and as the whole settings file: the integer
// reading checked against a plain reading of its grammar, the placement text
// and the window position made of it, the plain-INI check, and the file read
// and written through the INI store as the game does at start and close.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

#include <QSettings>
#include <QString>

#include "fuzz/FuzzScratch.h"
#include "store/IniSettings.h"
#include "store/IniText.h"
#include "store/SettingsStore.h"
#include "store/WindowPlacement.h"

#ifndef AQUENDO_FUZZ_ENTRY
#define AQUENDO_FUZZ_ENTRY LLVMFuzzerTestOneInput
#endif

namespace {

void Require(bool holds, const char* what) { fuzz::Require(holds, "settings", what); }

// Blanks, an optional sign, decimal digits, blanks; within 32 bits.
std::optional<std::int32_t> ReferenceInt(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 32) value = std::int64_t{1} << 32;  // too large either way
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// A stored position is kept only while part of the window stays on the screen.
bool OnScreen(std::int64_t left, std::int64_t top, int w, int h, int sw, int sh) {
    return left + w > 0 && left < sw && top + h > 0 && top < sh;
}

void CheckValue(std::string_view text) {
    Require(ParseSettingInt(text) == ReferenceInt(text), "integer reading differs from its grammar");

    if (const auto placement = ParsePlacementText(text)) {
        Require(text.starts_with("200,"), "a placement text without its mark");
        Require(ParsePlacementText(PlacementText(*placement)) == placement, "placement text round trip");
    }
    // Window and screen sizes as a platform reports them.
    for (const auto [w, h, sw, sh] : {std::array{506, 399, 1024, 768}, std::array{0, 0, 0, 0},
                                      std::array{506, 399, 320, 200}, std::array{4000, 3000, 65535, 65535}}) {
        const WindowPosition at = RestoredPosition(text, w, h, sw, sh);
        if (at.centred) {
            if (const auto p = ParsePlacementText(text))
                Require(!OnScreen(std::int64_t{p->left} + w > sw ? sw - w : p->left,
                                  std::int64_t{p->top} + h > sh ? sh - h : p->top, w, h, sw, sh),
                        "a placement text within reach was not used");
            continue;
        }
        Require(OnScreen(at.left, at.top, w, h, sw, sh), "a window kept out of reach");
        const auto placement = ParsePlacementText(text);
        Require(placement.has_value(), "a window placed by a text that is none");
        Require(at.left == placement->left || at.left == sw - w, "left edge neither stored nor pulled in");
        Require(at.top == placement->top || at.top == sh - h, "top edge neither stored nor pulled in");
        Require(std::int64_t{at.left} + w <= sw || at.left == placement->left, "window beyond the right edge");
    }
}

void CheckIniText(std::string_view bytes) {
    const bool plain = IsPlainIniText(bytes);
    if (!bytes.starts_with("\xEF\xBB\xBF"))
        Require(IsPlainIniText("\xEF\xBB\xBF" + std::string(bytes)) == plain, "a byte order mark changed the verdict");
    if (plain) Require(IsPlainIniText(std::string(bytes) + "\n"), "a plain text with a line end added is not plain");
}

void CheckFile(const std::uint8_t* data, std::size_t size) {
    static const fuzz::Scratch scratch("settings");
    const std::filesystem::path& folder = scratch.folder();
    const std::filesystem::path path = folder / "V2.ini";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        std::filesystem::remove(entry.path(), ec);
    fuzz::WriteFile(path, data, size);

    // Qt's own verdict, from a name it has not seen (it keeps what it parsed).
    static long run = 0;
    const std::filesystem::path reference = folder / ("reference-" + std::to_string(++run) + ".ini");
    fuzz::WriteFile(reference, data, size);
    const QSettings qt(QString::fromStdString(reference.string()), QSettings::IniFormat);
    qt.allKeys();
    const bool damaged = !IsPlainIniText(std::string_view(reinterpret_cast<const char*>(data), size)) ||
                         qt.status() == QSettings::FormatError;

    // The start: every value read as the game reads it.
    IniSettings ini(path.string());
    const std::int32_t tongue = ini.Read(settings::tongue);
    const std::int32_t level = ini.Read(settings::level);
    const std::string save = ini.Read(settings::save);
    ini.Read(settings::sound);
    ini.Read(settings::left);
    ini.Read(settings::top);
    const std::string placement = ini.Read(settings::MainForm);
    Require(save.find('\0') == std::string::npos, "a text read past its end");
    RestoredPosition(placement, 506, 399, 1024, 768);

    // The close: values written back, a damaged file set aside and never lost.
    Require(!ini.Write(settings::tongue, tongue), "a write failed");
    Require(!ini.Write(settings::level, level), "a write failed");
    Require(ini.Read(settings::tongue) == tongue && ini.Read(settings::level) == level, "a written value reads back changed");
    if (damaged) {
        const auto aside = std::filesystem::path(path.string() + ".damaged");
        Require(std::filesystem::file_size(aside, ec) == size && !ec, "a damaged file was not kept whole");
    }
}

}  // namespace

extern "C" int AQUENDO_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckValue(bytes);
    CheckIniText(bytes);
    // A file far above the game's own size is set aside unread; keep the runs quick.
    if (size <= 4096) CheckFile(data, size);
    return 0;
}
