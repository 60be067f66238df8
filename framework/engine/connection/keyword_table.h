#pragma once
// The keywords of the server's lines and how a line is matched to one.

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

namespace zorva {

enum ServerKeyword : int {
    kwNone = 0,
    kwReply = 1,     // "$$!"
    kwQuestion = 2,  // "$$?"
    kwHello = 3,
    kwContinue = 4,
    kwStop = 5,
    kwSimTime = 6,
    kwTime = 7,
    kwClients = 8,
    kwFrom = 9,
    kwUnknown = 10,
};

inline constexpr std::array<std::string_view, 11> kServerKeywords = {
    "",           "$$!",     "$$?",        "$$hello:", "$$continue:", "$$stop:",
    "$$simtime:", "$$time:", "$$clients:", "$$from:",  "$$unknown:",
};

struct KeywordMatch {
    ServerKeyword keyword = kwNone;
    // The fields: everything after the keyword (the whole line for kwNone).
    std::string_view fields;
};

// Searched from the highest index down: the first keyword that occurs
// anywhere in the line decides, so a relayed text that mentions "$$?" is
// still a "$$from:" line.
KeywordMatch MatchKeyword(std::string_view line);

// Splits at the first "!!": the part before it and the part after it (empty
// when there is none).
std::pair<std::string_view, std::string_view> SplitField(std::string_view text);

// Without blanks and control characters at either end.
std::string_view TrimLine(std::string_view text);

}  // namespace zorva
