#pragma once

#include "engine/line_splitter.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zorva::server {

// The time of "no event"; a model with nothing left to do asks for it.
inline constexpr double kNeverTime = 1.7e307;

// The longest line either side reads, without its CR LF; the server relays
// nothing longer.
inline constexpr std::size_t kMaxLine = LineSplitter::kDefaultMaxLine;

// Anything this large stands for NeverTime: it travels as a 308-digit text
// and may come back a few units off after rounding to two decimals.
bool isNeverTime(double time);

// Times travel with two decimals and always with '.', whatever the locale.
std::string formatTime(double time);

// Accepts what formatTime writes, with surrounding blanks; a ',' is taken as
// the decimal point for clients that format in a comma locale. Rejects
// anything else, including infinities and NaN.
std::optional<double> parseTime(std::string_view text);

// Strips blanks and control characters at both ends.
std::string_view trim(std::string_view text);

// Control characters inside a relayed text would split or cut the
// receiver's line, so they become blanks.
std::string sanitize(std::string_view text);

}  // namespace zorva::server
