// Locale-free number parsing and printing.
//
// Documents and settings store numbers as plain ASCII ("12.5", "-3"); the
// C locale of the process (which may use "," as decimal separator) is
// never consulted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirel {

// Blanks (space, tab, CR, LF) around the number are allowed; one leading
// "+" or "-" is allowed; anything else in the text makes the parse fail.
// Out-of-range values fail.
std::optional<int> ParseInt(std::string_view text);
std::optional<std::int64_t> ParseInt64(std::string_view text);

// Decimal or exponent notation ("1.5", ".5", "5.", "1e3"). Infinity, NaN and
// hexadecimal forms are refused, as is a value out of double range.
std::optional<double> ParseDouble(std::string_view text);

// Fixed notation with `decimals` digits after the point (clamped to
// 0..20), rounded from the exact binary value. A result that shows only
// zeros carries no minus sign ("-0.001" with 2 decimals prints "0.00").
// Infinity and NaN print as "inf", "-inf" and "nan".
std::string FormatDouble(double value, int decimals);

std::string FormatInt(std::int64_t value);

}  // namespace mirel
