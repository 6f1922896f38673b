// The column rule of all text lists: number texts padded with zeros to the same count of
// decimals and right-aligned, so that a fixed-pitch font lines up their full stops.
#pragma once

#include <string>
#include <vector>

namespace trimora {

enum class ColumnWidthRule {
    kLongestPlusDecimals,  // longest text + most decimals + 1 (the size columns)
    kLongestPlusOne,       // longest text + 1, added zeros not counted (the area column)
};

// Texts without a full stop get "." and the zeros when any text of the column has decimals;
// texts with one get zeros up to the most decimals. Then each is left-padded with spaces to
// the column width (a text already as wide or wider stays as it is). Texts without any full
// stop in the column (fractional inches) are only right-aligned.
std::vector<std::string> AlignDecimals(
    const std::vector<std::string>& texts,
    ColumnWidthRule rule = ColumnWidthRule::kLongestPlusDecimals);

}  // namespace trimora
