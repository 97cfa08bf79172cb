// The numbers survey drawings and spreadsheets carry as text: the leading decimal number of a
// string, and the tolerance under which two elevations count as equal.
#pragma once

#include <string_view>

namespace fendo {

// Two elevations are equal, and an elevation is zero, when they differ by less than this.
inline constexpr double kHeightTolerance = 0.0001;

// The leading decimal number of a text: blanks, a sign, digits with at most one decimal point,
// an exponent. "12.35m" gives 12.35, " -2.5e1x" gives -25; a text that starts with no number
// ("abc", "x.25", "", "inf", "0x10" past its 0) gives 0. Unlike the C library, hexadecimal,
// infinities and NaN are never read, so a label can never turn into a non-finite elevation.
double leadingNumber(std::wstring_view text);
double leadingNumber(std::string_view text);

// True when the text starts with a number by the same rule (an empty or wordy text does not).
bool startsWithNumber(std::wstring_view text);

// True when two elevations are equal under kHeightTolerance.
inline bool sameHeight(double a, double b) { return (a > b ? a - b : b - a) < kHeightTolerance; }

}  // namespace fendo
