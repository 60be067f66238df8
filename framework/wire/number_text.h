#pragma once

/// \file
/// Numbers as text, independent of any C or C++ locale.
///
/// Numbers travel between peers in protocol lines, hand-over texts and log
/// entries, so they are always written and read with '.' as the decimal
/// separator and without grouping, whatever locale the process runs in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorva {

/// `value` in fixed notation with exactly `decimals` digits after a '.'
/// (FormatFixed(22.5, 2) == "22.50", the "0.00" pattern). Rounds the exact
/// binary value to nearest. A negative value that rounds to zero is written
/// without its sign ("0.00", never "-0.00"). A negative `decimals` counts as 0.
/// Infinities and NaN are written "inf", "-inf" and "nan".
std::string FormatFixed(double value, int decimals = 2);

/// FormatFixed right-aligned in a field of `width` characters, never cut
/// (the clock in trace lines and messages).
std::string FormatFixedRight(double value, int width, int decimals = 2);

/// The whole of `text` read as a finite decimal floating-point number: an
/// optional sign, digits with an optional '.', an optional exponent ("2E38").
/// No surrounding blanks, no grouping, no ','. Empty text, trailing characters,
/// "inf", "nan", hexadecimal forms and values that overflow or underflow a
/// double give nullopt.
std::optional<double> ParseNumber(std::string_view text);

/// The whole of `text` read as a signed decimal 32-bit integer: an optional
/// sign and digits, nothing else. Anything else, or a value outside the 32-bit
/// range, gives nullopt.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace zorva
