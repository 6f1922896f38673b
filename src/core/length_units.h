// Lengths are kept as integers in tenths of a millimetre; this header is the only
// place where text and internal lengths meet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trimora {

using Tenths = int32_t;      // 1 = 0.1 mm
using AreaTenths = int64_t;  // 1 = 0.01 mm^2

// 0 mm, 1 cm, 2 m, 3 decimal inch, 4 fractional inch, 5 feet and inches
using LengthUnit = int;
// 0 mm2, 1 cm2, 2 m2, 3 in2, 4 ft2, 5 yd2
using AreaStyle = int;

double RoundToDigits(double x, int k);

// -1 when the text cannot be read, 0 for a unit outside 0..5.
Tenths ParseLength(LengthUnit unit, std::string_view text);

struct NormalizedLength {
    int error = 0;  // 0, or the language text number naming the error
    std::string text;
};
NormalizedLength NormalizeLengthText(std::string_view text, LengthUnit unit);

struct FeetInches {
    int error = 0;  // 0, or the language text number naming the error
    int feet = 0;
    int inches = 0;
    int numerator = 0;
    int denominator = 1;
};
FeetInches ParseFeetInches(std::string_view text);

struct BinaryFraction {
    int numerator = 0;
    int denominator = 2;
};
BinaryFraction NearestBinaryFraction(double f);

std::string FormatLength(Tenths value, LengthUnit unit);
std::string LengthUnitSuffix(LengthUnit unit, bool bare);
std::string AreaUnitSuffix(AreaStyle style);
std::string FormatArea(AreaTenths area, AreaStyle style, bool withSuffix);
double LengthInUnit(Tenths value, LengthUnit unit);

}  // namespace trimora
