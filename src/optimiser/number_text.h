// Reading the numbers the user types into plain fields and quantity cells (not lengths).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trimora {

// A whole number with an optional sign; blanks around it are ignored.
std::optional<int32_t> ParseWholeNumber(std::string_view text);
// A decimal number with a full stop and an optional exponent; blanks around it are ignored.
std::optional<double> ParseDecimalNumber(std::string_view text);

}  // namespace trimora
