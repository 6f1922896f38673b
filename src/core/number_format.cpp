#include "core/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace trimora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string FormatGeneral(double value, int p) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    p = std::clamp(p, 1, 17);
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);

    // Far more digits than any precision asks for, so rounding below works on the
    // (practically) exact decimal expansion of the binary value.
    char buffer[128];
    const auto res =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 40);
    std::string_view text(buffer, static_cast<size_t>(res.ptr - buffer));
    const size_t ePos = text.find('e');
    int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    std::string digits;
    for (char c : text.substr(0, ePos))
        if (IsDigit(c)) digits.push_back(c);

    // Round half away from zero to p significant digits.
    const bool roundUp = digits[static_cast<size_t>(p)] >= '5';
    digits.resize(static_cast<size_t>(p));
    if (roundUp) {
        int i = p - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
            digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent + 1 <= p && exponent >= -5) {
        if (exponent >= 0) {
            const size_t intDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, intDigits);
                out += '.';
                out += digits.substr(intDigits);
            }
        } else {
            out += "0.";
            out.append(static_cast<size_t>(-exponent - 1), '0');
            out += digits;
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += '.';
        out += digits.substr(1);
    }
    out += 'E';
    if (exponent < 0) out += '-';
    std::string expText = std::to_string(std::abs(exponent));
    if (expText.size() < 4) expText.insert(0, 4 - expText.size(), '0');
    out += expText;
    return out;
}

std::string FloatToText(double value) {
    return FormatGeneral(value, 15);
}

std::optional<double> ParseDecimal(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;

    // Validate the shape first: from_chars alone would accept "inf", "nan" and hex forms.
    size_t i = 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    size_t mantissaDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++mantissaDigits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    // from_chars takes neither a leading '+' nor a leading '.' after a sign consistently
    // across library versions, so hand it the unsigned text.
    std::string_view body = text;
    if (body.front() == '+' || body.front() == '-') body.remove_prefix(1);
    std::string copy;
    if (body.front() == '.') {
        copy = "0";
        copy += body;
        body = copy;
    }
    double value = 0;
    const auto res =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (res.ptr != body.data() + body.size()) return std::nullopt;
    if (res.ec == std::errc::result_out_of_range || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace trimora
