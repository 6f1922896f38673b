#include "output/alignment.h"

#include <algorithm>

namespace trimora {

std::vector<std::string> AlignDecimals(const std::vector<std::string>& texts,
                                       ColumnWidthRule rule) {
    size_t maxLen = 0;
    size_t maxDec = 0;
    for (const std::string& text : texts) {
        maxLen = std::max(maxLen, text.size());
        const size_t stop = text.find('.');
        if (stop != std::string::npos) maxDec = std::max(maxDec, text.size() - stop - 1);
    }
    const size_t width =
        rule == ColumnWidthRule::kLongestPlusDecimals ? maxLen + maxDec + 1 : maxLen + 1;

    std::vector<std::string> aligned;
    aligned.reserve(texts.size());
    for (std::string text : texts) {
        const size_t stop = text.find('.');
        if (stop == std::string::npos) {
            if (maxDec >= 1) text += '.' + std::string(maxDec, '0');
        } else {
            const size_t decimals = text.size() - stop - 1;
            if (decimals < maxDec) text.append(maxDec - decimals, '0');
        }
        if (text.size() < width) text.insert(0, width - text.size(), ' ');
        aligned.push_back(std::move(text));
    }
    return aligned;
}

}  // namespace trimora
