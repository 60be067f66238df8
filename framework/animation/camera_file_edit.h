#pragma once

// Changes to the camera-positions file: a line added at the end, a line taken
// out. Every other line stays byte for byte as it was, lines this system does
// not understand included. The new contents go to a temporary file beside the
// old one, which is then renamed over it, so a failure at any point leaves
// the old file as it was. Each returns why it failed, or an empty text.

#include <cstddef>
#include <string>

namespace zorva {

// Creates the file when there is none.
std::string AppendCameraLine(const std::string& file_name, const std::string& line);
// Takes out line `index` (from 0), provided it still reads `expected`: the
// file may have changed since it was listed.
std::string RemoveCameraLine(const std::string& file_name, std::size_t index, const std::string& expected);

}  // namespace zorva
