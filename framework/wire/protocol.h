#pragma once
/// \file
/// The facts of the message protocol that a model and the server share: the
/// port, the line limit, the time of "no event", how times travel and how a
/// line's fields are cut. Plain C++, so both sides and their tests use it
/// without Qt or the process engine.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "wire/line_splitter.h"
#include "wire/never_time.h"

namespace zorva {

/// The server's TCP port; models always connect to it.
inline constexpr std::uint16_t kDefaultPort = 52623;

/// The longest line either side reads, without its CR LF; the server relays
/// nothing longer.
inline constexpr std::size_t kMaxLine = LineSplitter::kDefaultMaxLine;

/// Anything this large stands for NeverTime: it travels as a 308-digit text
/// and may come back a few units off after rounding to two decimals.
bool IsNeverTime(double time);

/// Times travel with two decimals and always with '.', whatever the locale.
std::string FormatTime(double time);

/// Accepts what FormatTime writes, with surrounding blanks. Rejects anything
/// else, including a ',', infinities and NaN.
std::optional<double> ParseTime(std::string_view text);
/// As ParseTime, but a ',' is taken as the decimal point: the server accepts
/// the times of models that format in a comma locale.
std::optional<double> ParseTimeFromAnyLocale(std::string_view text);

/// Without blanks and control characters at either end.
std::string_view Trim(std::string_view text);

/// Control characters inside a relayed text would split or cut the
/// receiver's line, so they become blanks.
std::string Sanitize(std::string_view text);

/// A model that promises a lookahead L asks the server, right after it has
/// registered, "lookahead L" (two decimals); a server that takes part in the
/// extension answers with the same text, any other answer (an empty one from
/// a server that knows nothing of it) leaves the model without. Asking is
/// what every server answers, so neither side waits for what may never come.
inline constexpr std::string_view kLookaheadQuestion = "lookahead";

/// Fields of a line are separated by this.
inline constexpr std::string_view kFieldSeparator = "!!";

/// "a!!b!!c" from its fields.
std::string JoinFields(std::initializer_list<std::string_view> fields);

/// Splits at the first separator: the part before it and the part after it
/// (empty when there is none).
std::pair<std::string_view, std::string_view> SplitField(std::string_view text);

/// Splits "a!!b!!c" into at most `count` fields; the last one keeps any
/// further separators. Missing fields stay empty.
template <std::size_t count>
std::array<std::string_view, count> SplitFields(std::string_view text) {
    std::array<std::string_view, count> result{};
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const auto [field, rest] = SplitField(text);
        result[i] = field;
        if (field.size() == text.size()) return result;
        text = rest;
    }
    result[count - 1] = text;
    return result;
}

}  // namespace zorva
