// Any bytes as a settings value and as the whole settings file: the integer
// reading checked against a plain reading of its grammar, the placement text
// and the window position made of it, the plain-INI check, a value written
// and read back, the file's text read and written as the game does at start
// and close, and now and then the same through the store on disk.
#include <unistd.h>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzScratch.h"
#include "store/IniSettings.h"
#include "store/IniText.h"
#include "store/SettingsStore.h"
#include "store/WindowPlacement.h"

namespace {

void Require(bool holds, const char* what) {
    fuzz::Require(holds, "settings", what);
}

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
        Require(std::int64_t{at.left} + w <= sw || at.left == placement->left,
                "window beyond the right edge");
    }
}

void CheckIniText(std::string_view bytes) {
    const bool plain = IsPlainIniText(bytes);
    if (!bytes.starts_with("\xEF\xBB\xBF"))
        Require(IsPlainIniText("\xEF\xBB\xBF" + std::string(bytes)) == plain,
                "a byte order mark changed the verdict");
    if (plain)
        Require(IsPlainIniText(std::string(bytes) + "\n"), "a plain text with a line end added is not plain");
}

constexpr std::array<const char*, 7> kNames = {"tongue", "level", "save", "sound", "left", "top", "MainForm"};

// Any text as a value: written, it reads back exactly, and the file stays one
// the game never sets aside.
void CheckValueRoundTrip(std::string_view value) {
    const std::string line = EscapedIniValue(value);
    const std::string text = "[common]\nsave=" + line + "\n";
    const IniDocument document(text);
    Require(IsPlainIniText(text) && document.ReadsAsMeant(), "a written value makes the file damaged");
    Require(document.Value("common", "save") == std::optional<std::string>(value),
            "a written value reads back changed");
}

// A value as the store reads it from a file: in pieces, the first ending at cut.
std::optional<std::string> ScannedInPieces(std::string_view bytes, const char* name, std::size_t cut,
                                           std::size_t longest = kLongestIniValue) {
    IniValueScan scan("common", name, longest);
    const std::string first(bytes.substr(0, cut));
    const std::size_t used = scan.Take(first, false);
    scan.Take(first.substr(used) + std::string(bytes.substr(cut)), true);
    return scan.Value();
}

// The bytes as the settings file: read as the game reads it at the start, and
// the close's writes on top, which keep every other value and leave a file
// that reads as meant.
void CheckDocument(std::string_view bytes) {
    const IniDocument document(bytes);
    std::array<std::optional<std::string>, kNames.size()> before;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        before[i] = document.Value("common", kNames[i]);
        Require(IniValue(bytes, "common", kNames[i]) == before[i], "the quick scan read a value differently");
        Require(ScannedInPieces(bytes, kNames[i], bytes.size() / 2) == before[i],
                "a value read differently in pieces");
        if (before[i]) {
            Require(before[i]->size() <= kLongestIniValue, "an overlong value was read");
            RestoredPosition(*before[i], 506, 399, 1024, 768);
        }
    }
    if (!IsPlainIniText(bytes) || !document.ReadsAsMeant()) return;

    // What the close writes: a value of the file's own, and a text made of the bytes.
    const std::string written =
        bytes.size() > 64 ? std::string(bytes.substr(bytes.size() - 64)) : std::string(bytes);
    const std::size_t target = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % kNames.size();
    const std::string after = document.WithValue("common", kNames[target], written);
    const IniDocument again(after);
    Require(IsPlainIniText(after) && again.ReadsAsMeant(), "the game's own write made the file damaged");
    Require(again.Value("common", kNames[target]) == std::optional<std::string>(written),
            "a written value reads back changed");
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (i != target)
            Require(again.Value("common", kNames[i]) == before[i], "a write changed another value");
    Require(again.WithValue("common", kNames[target], written) == after,
            "writing the same value again changed the file");
}

// The value limit, reached without inputs of its size: the same text read
// with a small limit gives each value as before or refuses it, and refuses
// every value longer than the limit.
void CheckSizeLimit(std::string_view bytes) {
    if (bytes.empty()) return;
    const std::size_t longest = static_cast<unsigned char>(bytes[0]) % 64;
    const IniDocument full(bytes);
    const IniDocument limited(bytes, longest);
    for (const char* name : kNames) {
        const auto value = limited.Value("common", name);
        Require(ScannedInPieces(bytes, name, bytes.size() / 3, longest) == value,
                "a value read differently in pieces under a limit");
        if (!value) continue;
        Require(value == full.Value("common", name), "a value read differently under a limit");
        // A value's text in the file is never shorter than the value.
        Require(value->size() <= longest, "a value over the limit was read");
    }
}

// The file through the store, as the game opens it; on a memory file system.
void CheckFile(const std::uint8_t* data, std::size_t size) {
    static const fuzz::Scratch scratch("settings");
    const std::filesystem::path path = scratch.folder() / "V2.ini";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.folder(), ec))
        std::filesystem::remove(entry.path(), ec);
    fuzz::WriteFile(path, data, size);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool damaged = !IsPlainIniText(bytes) || !IniDocument(bytes).ReadsAsMeant();

    IniSettings ini(path.string());
    const std::int32_t level = ini.Read(settings::level);
    Require(ini.Read(settings::save).find('\0') == std::string::npos, "a text read past its end");
    Require(!ini.Write(settings::level, level), "a write failed");
    Require(ini.Read(settings::level) == level, "a written value reads back changed");
    if (damaged) {
        const auto aside = std::filesystem::path(path.string() + ".damaged");
        Require(std::filesystem::file_size(aside, ec) == size && !ec, "a damaged file was not kept whole");
    } else {
        Require(!std::filesystem::exists(path.string() + ".damaged"), "a plain file was set aside");
    }
}

}  // namespace

extern "C" int AQUENDO_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckValue(bytes);
    CheckIniText(bytes);
    CheckValueRoundTrip(bytes);
    CheckDocument(bytes);
    CheckSizeLimit(bytes);
    // The disk round trip is the same reader behind a few system calls: one
    // input in 64 takes it, so that the rest runs at memory speed.
    if (size <= 4096 && size % 64 == 0) CheckFile(data, size);
    return 0;
}
