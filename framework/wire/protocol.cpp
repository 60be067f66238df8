#include "wire/protocol.h"

#include "wire/number_text.h"

namespace zorva {

bool IsNeverTime(double time) {
    return time >= NeverTime * 0.5;
}

std::string FormatTime(double time) {
    return FormatFixed(time, 2);
}

std::optional<double> ParseTime(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 400) return std::nullopt;
    return ParseNumber(text);
}

std::optional<double> ParseTimeFromAnyLocale(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 400) return std::nullopt;
    std::string digits(text);
    if (const auto comma = digits.find(','); comma != std::string::npos && digits.find('.') == std::string::npos)
        digits[comma] = '.';
    return ParseNumber(digits);
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Sanitize(std::string_view text) {
    std::string clean(text);
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
    return clean;
}

std::string JoinFields(std::initializer_list<std::string_view> fields) {
    std::string joined;
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) joined += kFieldSeparator;
        joined += field;
        first = false;
    }
    return joined;
}

std::pair<std::string_view, std::string_view> SplitField(std::string_view text) {
    const auto separator = text.find(kFieldSeparator);
    if (separator == std::string_view::npos) return {text, {}};
    return {text.substr(0, separator), text.substr(separator + kFieldSeparator.size())};
}

}  // namespace zorva
