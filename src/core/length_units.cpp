#include "core/length_units.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/number_format.h"

namespace trimora {

namespace {

constexpr char kInchMark = '"';
constexpr char kFootMark = '\'';

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool ValidUnit(LengthUnit unit) {
    return unit >= 0 && unit <= 5;
}

// Tenths per display unit for the decimal units 0-3.
constexpr double kDecimalFactor[4] = {10.0, 100.0, 10000.0, 254.0};
// Digits kept by the decimal units when a typed text is canonicalised.
constexpr int kDecimalDigits[4] = {-1, -2, -4, -3};

// A rounded length that is no valid Tenths value (negative, too large, not finite).
std::optional<Tenths> ToTenths(double rounded) {
    if (!std::isfinite(rounded) || rounded < 0 ||
        rounded > static_cast<double>(std::numeric_limits<Tenths>::max()))
        return std::nullopt;
    return static_cast<Tenths>(rounded);
}

// A decimal text for units 0-3, as Tenths; nullopt when unreadable, negative or too large.
std::optional<Tenths> ParseDecimalLength(LengthUnit unit, std::string_view text) {
    const std::optional<double> number = ParseDecimal(text);
    if (!number || *number < 0) return std::nullopt;
    return ToTenths(RoundToDigits(*number * kDecimalFactor[unit], 0));
}

std::optional<Tenths> FeetInchesToTenths(const FeetInches& fi) {
    if (fi.denominator == 0) return std::nullopt;
    const double inches = static_cast<double>(fi.inches) + 12.0 * static_cast<double>(fi.feet);
    const double fraction = static_cast<double>(fi.numerator) / fi.denominator;
    return ToTenths(RoundToDigits((fraction + inches) * 254.0, 0));
}

bool IsAllowedDenominator(int d) {
    return d == 0 || d == 2 || d == 4 || d == 8 || d == 16 || d == 32 || d == 64;
}

// Whole inches and a binary fraction as "12 3/8\"", "12\"" or "3/8\"". A fraction that is a
// whole multiple of its denominator (0/2, 2/2) is folded into the inches so it never shows.
std::string InchPieces(long long inches, int numerator, int denominator) {
    if (numerator > 0 && denominator > 0 && numerator % denominator == 0) {
        inches += numerator / denominator;
        numerator = 0;
    }
    std::string out;
    if (inches > 0) {
        out += std::to_string(inches);
        out += numerator > 0 ? ' ' : kInchMark;
    }
    if (numerator > 0) {
        out += std::to_string(numerator);
        out += '/';
        out += std::to_string(denominator);
        out += kInchMark;
    }
    return out;
}

struct Token {
    std::string text;
    enum Tag { kNone, kInch, kFeet } tag = kNone;
};

// Converts a token text to an integer; empty gives the fallback.
std::optional<int> TokenInt(const std::string& text, int emptyValue) {
    if (text.empty()) return emptyValue;
    int value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

double RoundToDigits(double x, int k) {
    // The power is formed as a double and x divided by it, so a decimal half that binary
    // cannot hold exactly (12.345) may round one step lower.
    const double power = std::pow(10.0, k);
    return std::trunc(x / power + 0.5) * power;
}

FeetInches ParseFeetInches(std::string_view text) {
    FeetInches result;
    if (text.empty()) {
        result.error = 273;
        return result;
    }
    for (char c : text) {
        if (!IsDigit(c) && c != '/' && c != kInchMark && c != kFootMark && c != ' ') {
            result.error = 274;
            return result;
        }
    }

    std::vector<Token> tokens;
    std::string run;
    for (char c : text) {
        if (IsDigit(c) || c == '/') {
            run.push_back(c);
            continue;
        }
        if (run.empty()) continue;  // marks and spaces between parts are only separators
        Token token;
        token.text = std::move(run);
        token.tag = c == kInchMark ? Token::kInch : c == kFootMark ? Token::kFeet : Token::kNone;
        tokens.push_back(std::move(token));
        run.clear();
        if (tokens.size() > 3) break;  // already too many; no need to read on
    }
    const bool openRun = !run.empty();
    if (openRun) tokens.push_back(Token{run, Token::kNone});

    const size_t count = tokens.size();
    const bool anySlash = text.find('/') != std::string_view::npos;
    if (count == 0 || count > 3) {
        result.error = 275;
        return result;
    }
    if (openRun && text.back() == '/') {
        result.error = 276;
        return result;
    }
    if (count == 3 && !anySlash) {
        result.error = 277;
        return result;
    }

    std::string feetText, inchText, numText, denText;
    bool feetSet = false, inchSet = false, fraction = false;
    for (size_t i = 0; i < count; ++i) {
        const Token& token = tokens[i];
        const size_t slash = token.text.find('/');
        if (slash != std::string::npos) {
            if (i != count - 1) {
                result.error = 279;
                return result;
            }
            if (token.tag == Token::kFeet && count == 1) {
                result.error = 280;
                return result;
            }
            fraction = true;
            numText = token.text.substr(0, slash);
            denText = token.text.substr(slash + 1);
            // A foot mark on a fraction stays in its text, so the conversion rejects it.
            if (token.tag == Token::kFeet) denText.push_back(kFootMark);
            continue;
        }
        if (token.tag == Token::kFeet) {
            if (feetSet) {
                result.error = 281;
                return result;
            }
            feetText = token.text;
            feetSet = true;
        }
        // In "5 6" and "5 6 1/2" the first number is the feet.
        if (i == 0 && (count == 3 || (count == 2 && !anySlash))) {
            feetText = token.text;
            feetSet = true;
        }
        if (token.tag == Token::kInch) {
            if (inchSet) {
                result.error = 282;
                return result;
            }
            inchText = token.text;
            inchSet = true;
        } else if (token.tag == Token::kNone) {
            inchText = token.text;
            inchSet = true;
        }
    }

    const std::optional<int> feet = TokenInt(feetText, 0);
    const std::optional<int> inches = TokenInt(inchText, 0);
    const std::optional<int> numerator = TokenInt(numText, 0);
    const std::optional<int> denominator = TokenInt(denText, fraction ? 0 : 1);
    if (!feet || !inches || !numerator || !denominator) {
        result.error = 283;
        return result;
    }
    result.feet = *feet;
    result.inches = *inches;
    result.numerator = *numerator;
    result.denominator = *denominator;
    return result;
}

BinaryFraction NearestBinaryFraction(double f) {
    BinaryFraction best;
    double bestError = std::numeric_limits<double>::infinity();
    for (int d = 2; d <= 64; d *= 2) {
        const int n = static_cast<int>(RoundToDigits(d * f, 0));
        const double error = std::fabs(f - static_cast<double>(n) / d);
        if (error < bestError) {
            bestError = error;
            best = {n, d};
        }
    }
    return best;
}

Tenths ParseLength(LengthUnit unit, std::string_view text) {
    if (!ValidUnit(unit)) return 0;
    std::optional<Tenths> value;
    if (unit <= 3) {
        value = ParseDecimalLength(unit, text);
    } else {
        const FeetInches fi = ParseFeetInches(text);
        if (fi.error == 0) value = FeetInchesToTenths(fi);
    }
    return value.value_or(-1);
}

NormalizedLength NormalizeLengthText(std::string_view text, LengthUnit unit) {
    NormalizedLength result;
    if (!ValidUnit(unit)) return result;
    if (text == "0") {
        result.text = "0";
        return result;
    }
    if (unit <= 3) {
        const std::optional<double> number = ParseDecimal(text);
        if (!number || *number < 0 || !ParseDecimalLength(unit, text)) {
            result.error = 272;
            return result;
        }
        result.text = FloatToText(RoundToDigits(*number, kDecimalDigits[unit]));
        return result;
    }

    FeetInches fi = ParseFeetInches(text);
    if (fi.error != 0) {
        result.error = fi.error;
        return result;
    }
    // A zero denominator or a length beyond the Tenths range has no value.
    if (!FeetInchesToTenths(fi)) {
        result.error = 283;
        return result;
    }
    if (!IsAllowedDenominator(fi.denominator)) {
        const BinaryFraction b =
            NearestBinaryFraction(static_cast<double>(fi.numerator) / fi.denominator);
        fi.numerator = b.numerator;
        fi.denominator = b.denominator;
    }
    long long inches = fi.inches;
    if (unit == 4) {
        if (fi.feet > 0) inches += 12LL * fi.feet;
    } else if (fi.feet > 0) {
        result.text = std::to_string(fi.feet);
        result.text += kFootMark;
        result.text += ' ';
    }
    result.text += InchPieces(inches, fi.numerator, fi.denominator);
    // "00" or "0' 0/4" is a valid zero; keep it readable instead of an empty field.
    if (result.text.empty()) result.text = "0";
    return result;
}

std::string FormatLength(Tenths value, LengthUnit unit) {
    if (!ValidUnit(unit)) return {};
    if (value == 0) return "0";
    if (value < 0) {
        // Nothing stores a negative length; show its magnitude with a sign rather than garbage.
        const long long magnitude = -static_cast<long long>(value);
        if (magnitude > std::numeric_limits<Tenths>::max())
            return "-" + FormatLength(std::numeric_limits<Tenths>::max(), unit);
        return "-" + FormatLength(static_cast<Tenths>(magnitude), unit);
    }
    switch (unit) {
        case 0:
            return FloatToText(RoundToDigits(value * 0.1, -1));
        case 1:
            return FloatToText(RoundToDigits(value * 0.01, -2));
        case 2:
            return FloatToText(RoundToDigits(value * 0.0001, -4));
        default:
            break;
    }
    const double x = RoundToDigits(value / 254.0, -3);
    if (unit == 3) return FloatToText(x);

    long long whole = static_cast<long long>(std::floor(x));
    const double fraction = x - static_cast<double>(whole);
    BinaryFraction b{0, 2};
    if (fraction > 0) b = NearestBinaryFraction(fraction);
    if (b.numerator == b.denominator) {
        ++whole;
        b.numerator = 0;
    }
    std::string out;
    if (unit == 5) {
        const long long feet = whole / 12;
        whole -= 12 * feet;
        if (feet > 0) {
            out += std::to_string(feet);
            out += kFootMark;
            out += ' ';
        }
    }
    out += InchPieces(whole, b.numerator, b.denominator);
    // A length below 1/128 inch has no fractional-inch text of its own.
    if (out.empty()) out = "0";
    return out;
}

std::string LengthUnitSuffix(LengthUnit unit, bool bare) {
    switch (unit) {
        case 0:
            return "mm";
        case 1:
            return "cm";
        case 2:
            return "m";
        case 3:
            return "in";
        case 4:
        case 5:
            return bare ? "" : "in";
        default:
            return {};
    }
}

std::string AreaUnitSuffix(AreaStyle style) {
    switch (style) {
        case 0:
            return "mm\u00B2";
        case 1:
            return "cm\u00B2";
        case 2:
            return "m\u00B2";
        case 3:
            return "in\u00B2";
        case 4:
            return "ft\u00B2";
        case 5:
            return "yd\u00B2";
        default:
            return {};
    }
}

std::string FormatArea(AreaTenths area, AreaStyle style, bool withSuffix) {
    if (style < 0 || style > 5) return {};
    const double a = static_cast<double>(area);
    double converted = 0;
    switch (style) {
        case 0:
            converted = a * 0.01;
            break;
        case 1:
            converted = a * 0.0001;
            break;
        case 2:
            converted = a * 1e-8;
            break;
        case 3:
            converted = a / 64516.0;
            break;
        case 4:
            converted = a / (3048.0 * 3048.0);
            break;
        default:
            converted = a / (9144.0 * 9144.0);
            break;
    }
    // The area is held in single precision before rounding, as the display always did.
    const float single = static_cast<float>(converted);
    std::string out = FloatToText(RoundToDigits(single, style == 2 ? -3 : -2));
    if (withSuffix) {
        out += ' ';
        out += AreaUnitSuffix(style);
    }
    return out;
}

double LengthInUnit(Tenths value, LengthUnit unit) {
    switch (unit) {
        case 0:
            return value * 0.1;
        case 1:
            return value * 0.01;
        case 2:
            return value * 0.0001;
        case 3:
        case 4:
        case 5:
            return value / 254.0;
        default:
            return 0;
    }
}

}  // namespace trimora
