#pragma once

// The file of named camera positions that lies beside a program: one position
// per line, a name, ":::" and a remainder that is kept but not interpreted.

#include <istream>
#include <string>
#include <vector>

namespace zorva {

inline constexpr const char* kCameraSeparator = ":::";

// The file name for a program: its file name without folder and without the
// extension that starts at the last dot, followed by ".cam". Folders end at
// '/', '\\' or ':'.
std::string CameraFileName(const std::string& program_path);

// The text before the first ":::", or empty when the line has none.
std::string CameraPositionName(const std::string& line);

struct TCameraFile {
    std::vector<std::string> Lines;  // every line, in file order
    std::vector<std::string> Names;  // one per line, possibly empty
    // Empty when everything was read; otherwise what went wrong. Lines read
    // before a failure are kept.
    std::string Message;
};

// Reads the positions; a missing file gives an empty list and no message.
TCameraFile LoadCameraFile(const std::string& file_name);
// Reads lines until the end of the stream; a line ending in CR LF loses the CR.
void ReadCameraLines(std::istream& in, TCameraFile& file);

}  // namespace zorva
