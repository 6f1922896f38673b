// Locale-free number texts: the decimal separator is always the full stop.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trimora {

// General format with p significant digits (p is clamped to 1..17). Fixed notation when the
// rounded value has at most p integer digits and a magnitude of at least 0.00001, otherwise
// scientific notation: mantissa, "E", a minus sign only for negative exponents and at least
// four exponent digits ("1.5E0020", "1E-0006"). Trailing zeros and a trailing point are
// removed; halves are rounded away from zero on the exact binary value. Zero is "0",
// non-finite values are "NAN", "INF" and "-INF".
std::string FormatGeneral(double value, int p);

// The shortest general rendering with 15 significant digits.
std::string FloatToText(double value);

// Reads a decimal number: optional surrounding blanks, an optional sign, digits with at most
// one full stop (".5" and "5." are accepted), an optional exponent ("1e3"). Infinity, NaN,
// hexadecimal, comma separators and anything else are rejected.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace trimora
