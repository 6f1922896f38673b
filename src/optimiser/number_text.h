// Reading the whole numbers the user types into plain fields and quantity cells.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trimora {

// A whole number with an optional sign; blanks around it are ignored.
std::optional<int32_t> ParseWholeNumber(std::string_view text);

}  // namespace trimora
