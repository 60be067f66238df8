#include "protocol.h"

#include "engine/number_text.h"

namespace zorva::server {

bool isNeverTime(double time) {
    return time >= kNeverTime * 0.5;
}

std::string formatTime(double time) {
    return FormatFixed(time, 2);
}

std::optional<double> parseTime(std::string_view text) {
    text = trim(text);
    if (text.empty() || text.size() > 400) return std::nullopt;
    std::string digits(text);
    if (const auto comma = digits.find(','); comma != std::string::npos && digits.find('.') == std::string::npos)
        digits[comma] = '.';
    return ParseNumber(digits);
}

std::string_view trim(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string sanitize(std::string_view text) {
    std::string clean(text);
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
    return clean;
}

}  // namespace zorva::server
