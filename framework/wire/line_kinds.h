#pragma once
// Every kind of protocol line, the keyword that marks it and which way it
// travels: the one table that a model and the server both read. A new kind
// of line is one row here and its handler on each side.

#include <cstdint>
#include <string>
#include <string_view>

namespace zorva {

enum class LineKind : std::uint8_t {
    None,      // no keyword: an unrecognised line
    Answer,    // "$$!N!!NAME!!TEXT"
    Question,  // "$$?N!!NAME!!TEXT"
    Hello,     // "$$hello:TEXT!!T", the server's greeting
    Continue,  // "$$continue:T", a request and its grant
    Stop,      // "$$stop:T"
    SimTime,   // "$$simtime:T"
    Time,      // "$$time:T", the answer to the command "$$time"
    Clients,   // "$$clients:NAMES", the answer to the command "$$clients"
    From,      // "$$from:T!!SENDER!!TEXT", a relayed text
    Unknown,   // "$$unknown:REASON"
    Name,      // "$$name:NAME", a model registers
    NewEvent,  // "$$newevent:T", a model's report
    ToClient,  // "$$toclient: TARGET!!TEXT", a text to relay
    Command,   // "$$WORD", a command to the server ("$$time", "$$clients")
    // The lookahead extension, agreed at registration (see
    // kLookaheadQuestion); neither side sends these to a peer that did not
    // agree.
    Horizon,  // "$$horizon:H", the server's grant of every event before H
    Ahead,    // "$$ahead:T!!N", a lookahead model's request: earliest event T, N lines handled
    Send,     // "$$send:T!!TARGET!!TEXT", a lookahead model's text, sent at its time T
};

enum class Travels : std::uint8_t { ToModel, ToServer, Both };

struct LineKindRow {
    LineKind Kind;
    std::string_view Keyword;
    Travels Direction;
};

// The server's lines in the order a model searches them: from the last row
// up, the first keyword that occurs anywhere in the line decides, so a
// relayed text that mentions "$$?" is still a "$$from:" line. The
// extension's lines come first: any other keyword in a line wins over
// theirs.
inline constexpr LineKindRow kLineKinds[] = {
    {LineKind::Horizon, "$$horizon:", Travels::ToModel},
    {LineKind::Ahead, "$$ahead:", Travels::ToServer},
    {LineKind::Send, "$$send:", Travels::ToServer},
    {LineKind::Answer, "$$!", Travels::Both},
    {LineKind::Question, "$$?", Travels::Both},
    {LineKind::Hello, "$$hello:", Travels::ToModel},
    {LineKind::Continue, "$$continue:", Travels::Both},
    {LineKind::Stop, "$$stop:", Travels::ToModel},
    {LineKind::SimTime, "$$simtime:", Travels::ToModel},
    {LineKind::Time, "$$time:", Travels::ToModel},
    {LineKind::Clients, "$$clients:", Travels::ToModel},
    {LineKind::From, "$$from:", Travels::ToModel},
    {LineKind::Unknown, "$$unknown:", Travels::ToModel},
    {LineKind::Name, "$$name:", Travels::ToServer},
    {LineKind::NewEvent, "$$newevent:", Travels::ToServer},
    {LineKind::ToClient, "$$toclient:", Travels::ToServer},
    {LineKind::Command, "$$", Travels::ToServer},
};

// The keyword of a kind ("$$continue:"); empty for None. A text to relay is
// sent with a blank after its keyword ("$$toclient: "), as models always
// have; the server takes it with or without.
std::string_view Keyword(LineKind kind);

// A keyword followed by its fields, as a line without its CR LF.
std::string Line(LineKind kind, std::string_view fields);

struct LineMatch {
    LineKind Kind = LineKind::None;
    // Everything after the keyword (the whole line for None).
    std::string_view Fields;
};

// A line from the server, as a model reads it (see kLineKinds).
LineMatch MatchLineToModel(std::string_view line);

// A line from a model, as the server reads it: by the keyword it begins
// with, after blanks; None for a line that does not begin with "$$".
LineMatch MatchLineToServer(std::string_view line);

}  // namespace zorva
