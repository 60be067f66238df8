#include "wire/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace zorva {

namespace {

// Drops a leading '+' that std::from_chars does not accept, but never one
// followed by another sign ("+-1" stays invalid).
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() >= 2 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

// True when `text` is a '-' followed only by zeros and a '.'.
bool IsNegativeZero(std::string_view text) {
    return text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string_view::npos;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    if (std::isnan(value)) return "nan";  // whatever its sign bit
    decimals = std::max(decimals, 0);
    constexpr std::size_t kMaxIntegerDigits = std::numeric_limits<double>::max_exponent10 + 1;
    // Sign, integer digits, point, decimals: enough for every double.
    std::string text(1 + kMaxIntegerDigits + 1 + static_cast<std::size_t>(decimals), '\0');
    const auto [end, ec] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    text.resize(ec == std::errc{} ? static_cast<std::size_t>(end - text.data()) : 0);
    if (IsNegativeZero(text)) text.erase(0, 1);
    return text;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = WithoutPlus(text);
    double value = 0.0;
    const char* const last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value, std::chars_format::general);
    if (ec != std::errc{} || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    text = WithoutPlus(text);
    std::int32_t value = 0;
    const char* const last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value, 10);
    if (ec != std::errc{} || end != last) return std::nullopt;
    return value;
}

std::string FormatFixedRight(double value, int width, int decimals) {
    std::string text = FormatFixed(value, decimals);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace zorva
