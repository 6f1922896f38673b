#include "optimiser/number_text.h"

#include <charconv>

namespace trimora {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// from_chars takes no plus sign; a second sign after it must still be refused.
bool StripPlus(std::string_view& text) {
    if (text.empty() || text.front() != '+') return true;
    text.remove_prefix(1);
    return !text.empty() && text.front() != '-' && text.front() != '+';
}

}  // namespace

std::optional<int32_t> ParseWholeNumber(std::string_view text) {
    text = Trim(text);
    if (!StripPlus(text) || text.empty()) return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace trimora
