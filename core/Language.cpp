#include "core/Language.h"

std::string Fill(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' && std::size_t(next - '0') <= arguments.size()) {
            filled += arguments.begin()[next - '1'];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}
