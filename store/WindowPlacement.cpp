#include "store/WindowPlacement.h"

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
int Inside(int start, int size, int screen) {
    const std::int64_t end = std::int64_t{start} + size;
    return end > screen ? screen - size : start;
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

WindowPosition RestoredPosition(std::string_view text, int windowWidth, int windowHeight, int screenWidth,
                                int screenHeight) {
    if (const auto placement = ParsePlacementText(text))
        return {Inside(placement->left, windowWidth, screenWidth),
                Inside(placement->top, windowHeight, screenHeight), false};
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2, true};
}
