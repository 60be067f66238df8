#include "engine/connection/keyword_table.h"

namespace zorva {

KeywordMatch MatchKeyword(std::string_view line) {
    for (int index = static_cast<int>(kServerKeywords.size()) - 1; index > 0; --index) {
        const std::string_view keyword = kServerKeywords[static_cast<std::size_t>(index)];
        const auto position = line.find(keyword);
        if (position != std::string_view::npos)
            return {static_cast<ServerKeyword>(index), line.substr(position + keyword.size())};
    }
    return {kwNone, line};
}

std::pair<std::string_view, std::string_view> SplitField(std::string_view text) {
    const auto bang = text.find("!!");
    if (bang == std::string_view::npos) return {text, {}};
    return {text.substr(0, bang), text.substr(bang + 2)};
}

std::string_view TrimLine(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace zorva
