#pragma once

// What this system makes of a camera-positions line: after the name and
// ":::", six numbers "x y z a b c", the camera's position in model units and
// its angles about the x, y and z axes in degrees. Lines in any other form
// are kept as they are but cannot be chosen.

#include <optional>
#include <string>

#include "animation/camera_file.h"
#include "animation/camera_keys.h"

namespace zorva {

// The text after the first ":::", or empty when the line has none.
std::string CameraPositionRest(const std::string& line);

// Six numbers with '.' as the decimal point, separated by blanks or tabs.
std::optional<TCameraPose> ParseCameraPose(const std::string& rest);
// The shortest numbers that read back as exactly the same pose.
std::string FormatCameraPose(const TCameraPose& pose);

// Why a line cannot be chosen, empty when it can.
std::string CameraLineProblem(const std::string& line);

struct TCameraChoice {
    std::optional<TCameraPose> Pose;
    std::string Message;  // why there is none
};

// The first line named `name` (both trimmed) of the file; file_name only
// names the file in the message.
TCameraChoice FindCameraPosition(const TCameraFile& file, const std::string& file_name, const std::string& name);

}  // namespace zorva
