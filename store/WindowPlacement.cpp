#include "store/WindowPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "store/SettingsStore.h"

namespace {

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    if (text.empty()) return fields;
    if (text.back() == ',') text.remove_suffix(1);
    for (;;) {
        const auto comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return fields;
}

// Pulls a window back so its far edge is not beyond the screen's.
std::int64_t Inside(std::int64_t start, std::int64_t size, std::int64_t screen) {
    return start + size > screen ? screen - size : start;
}

// The length of [start, start + size) that lies on [0, screen).
std::int64_t OnScreen(std::int64_t start, std::int64_t size, std::int64_t screen) {
    return std::min(start + size, screen) - std::max<std::int64_t>(start, 0);
}

// Device pixels as logical ones, a part of one counted as a whole.
int Logical(int devicePixels, double scale) {
    return scale > 0 ? static_cast<int>(std::ceil(devicePixels / scale - 1e-9)) : devicePixels;
}

}  // namespace

WindowPlacement PlacementOf(int left, int top, int width, int height, bool minimised, bool maximised) {
    WindowPlacement placement;
    placement.left = left;
    placement.top = top;
    placement.right = left + width;
    placement.bottom = top + height;
    if (minimised) {
        placement.showCommand = WindowPlacement::kShowMinimised;
        if (maximised) placement.flags = WindowPlacement::kRestoreToMaximised;
    } else if (maximised) {
        placement.showCommand = WindowPlacement::kShowMaximised;
    }
    return placement;
}

std::string PlacementText(const WindowPlacement& p) {
    std::string text = std::to_string(WindowPlacement::kMark);
    for (const int field : {p.flags, p.showCommand, p.left, p.top, p.right, p.bottom})
        text += "," + std::to_string(field);
    return text;
}

std::optional<WindowPlacement> ParsePlacementText(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.size() != 7 || fields[0] != "200") return std::nullopt;
    const auto left = ParseSettingInt(fields[3]);
    const auto top = ParseSettingInt(fields[4]);
    const auto right = ParseSettingInt(fields[5]);
    const auto bottom = ParseSettingInt(fields[6]);
    if (!left || !top || !right || !bottom) return std::nullopt;
    WindowPlacement placement;
    placement.flags = ParseSettingInt(fields[1]).value_or(0);
    placement.showCommand = ParseSettingInt(fields[2]).value_or(0);
    placement.left = *left;
    placement.top = *top;
    placement.right = *right;
    placement.bottom = *bottom;
    return placement;
}

OuterWindow WithFrame(int clientWidth, int clientHeight, int marginLeft, int marginTop, int marginRight,
                      int marginBottom, double scale) {
    return {clientWidth + Logical(marginLeft + marginRight, scale),
            clientHeight + Logical(marginTop + marginBottom, scale), Logical(marginTop, scale)};
}

WindowPosition RestoredPosition(std::string_view text, const OuterWindow& window, int screenWidth,
                                int screenHeight) {
    if (const auto placement = ParsePlacementText(text)) {
        const std::int64_t left = Inside(placement->left, window.width, screenWidth);
        const std::int64_t top = Inside(placement->top, window.height, screenHeight);
        const std::int64_t reach = window.titleHeight > 0 ? window.titleHeight : window.height;
        if (OnScreen(left, window.width, screenWidth) > 0 && OnScreen(top, reach, screenHeight) > 0)
            return {static_cast<int>(left), static_cast<int>(top), false};
    }
    return {(screenWidth - window.width) / 2, (screenHeight - window.height) / 2, true};
}

WindowPosition RestoredPosition(std::string_view text, int windowWidth, int windowHeight, int screenWidth,
                                int screenHeight) {
    return RestoredPosition(text, OuterWindow{windowWidth, windowHeight, 0}, screenWidth, screenHeight);
}

int ClampedCoordinate(std::int64_t coordinate) {
    constexpr std::int64_t kFar = std::int64_t{1} << 24;
    return static_cast<int>(std::clamp(coordinate, -kFar, kFar));
}
