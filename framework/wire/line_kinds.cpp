#include "wire/line_kinds.h"

#include "wire/protocol.h"

namespace zorva {

std::string_view Keyword(LineKind kind) {
    for (const LineKindRow& row : kLineKinds)
        if (row.Kind == kind) return row.Keyword;
    return {};
}

std::string Line(LineKind kind, std::string_view fields) {
    std::string line(Keyword(kind));
    if (kind == LineKind::ToClient) line += ' ';
    line += fields;
    return line;
}

LineMatch MatchLineToModel(std::string_view line) {
    for (auto row = std::rbegin(kLineKinds); row != std::rend(kLineKinds); ++row) {
        if (row->Direction == Travels::ToServer) continue;
        const auto position = line.find(row->Keyword);
        if (position != std::string_view::npos) return {row->Kind, line.substr(position + row->Keyword.size())};
    }
    return {LineKind::None, line};
}

LineMatch MatchLineToServer(std::string_view line) {
    line = Trim(line);
    for (const LineKindRow& row : kLineKinds) {
        if (row.Direction == Travels::ToModel || !line.starts_with(row.Keyword)) continue;
        return {row.Kind, line.substr(row.Keyword.size())};
    }
    return {LineKind::None, line};
}

}  // namespace zorva
