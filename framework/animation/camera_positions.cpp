#include "animation/camera_positions.h"

#include <charconv>
#include <sstream>
#include <string>

#include "wire/number_text.h"

namespace zorva {

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Shortest(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

std::string CameraPositionRest(const std::string& line) {
    const std::size_t separator = line.find(kCameraSeparator);
    return separator == std::string::npos ? std::string()
                                          : line.substr(separator + std::char_traits<char>::length(kCameraSeparator));
}

std::optional<TCameraPose> ParseCameraPose(const std::string& rest) {
    std::istringstream words(rest);
    float values[6];
    int count = 0;
    for (std::string word; words >> word;) {
        const std::optional<double> value = ParseNumber(word);
        if (!value || count == 6) return std::nullopt;
        values[count++] = static_cast<float>(*value);
    }
    if (count != 6) return std::nullopt;
    return TCameraPose{{values[0], values[1], values[2]}, {values[3], values[4], values[5]}};
}

std::string FormatCameraPose(const TCameraPose& pose) {
    return Shortest(pose.Position.X) + " " + Shortest(pose.Position.Y) + " " + Shortest(pose.Position.Z) + " " +
           Shortest(pose.AnglesDegrees[0]) + " " + Shortest(pose.AnglesDegrees[1]) + " " +
           Shortest(pose.AnglesDegrees[2]);
}

std::string CameraLineProblem(const std::string& line) {
    if (line.find(kCameraSeparator) == std::string::npos) return "the line has no \":::\"";
    if (ParseCameraPose(CameraPositionRest(line))) return {};
    return "\"" + CameraPositionRest(line) + "\" is not six numbers x y z a b c (position, then angles in degrees)";
}

TCameraChoice FindCameraPosition(const TCameraFile& file, const std::string& file_name, const std::string& name) {
    const std::string wanted = Trimmed(name);
    std::string names;
    for (std::size_t i = 0; i < file.Lines.size(); ++i) {
        const std::string found = Trimmed(file.Names[i]);
        if (found.empty()) continue;
        if (found == wanted) {
            if (const std::string problem = CameraLineProblem(file.Lines[i]); !problem.empty())
                return {std::nullopt, "camera position \"" + wanted + "\" in " + file_name + ": " + problem};
            return {ParseCameraPose(CameraPositionRest(file.Lines[i])), {}};
        }
        names += (names.empty() ? "" : ", ") + found;
    }
    if (!file.Message.empty()) return {std::nullopt, file.Message};
    if (file.Lines.empty())
        return {std::nullopt, "no camera positions in " + file_name + " (looked for in the working folder)"};
    return {std::nullopt, "no camera position \"" + wanted + "\" in " + file_name + "; it has " + names};
}

}  // namespace zorva
