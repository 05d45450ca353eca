#pragma once

#include <QString>

#include <cstdint>

// Numbers as display text with an exact number of fraction digits, rounded half to even on
// their decimal value, no digit grouping, and the default QLocale's decimal separator.
// Working on exact decimals (an integer and a power of ten) keeps binary floating point
// from deciding a rounding: 1.5 at 0 digits is "2", 2.5 is "2", 1.005 at 2 digits "1.00".
namespace DecimalText {

// mantissa / 10^scale with `digits` fraction digits (scale 0 to 19, digits 0 to 15).
QString format(std::uint64_t mantissa, int scale, int digits, bool negative = false);

// A double through its shortest round-trip decimal form ("0.1" for 0.1), then as above.
// Infinities and NaN give "inf", "-inf" and "nan".
QString fromDouble(double value, int digits);

// The integer part of a number, saturated to the 64-bit range; 0 for NaN.
std::int64_t truncatedToInt64(double value);

} // namespace DecimalText
