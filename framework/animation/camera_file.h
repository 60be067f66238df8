#pragma once

// The file of named camera positions that lies beside a program: one position
// per line, a name, ":::" and a remainder that is kept but not interpreted.

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace zorva {

inline constexpr const char* kCameraSeparator = ":::";
// A few dozen positions fit in kilobytes; a file beyond this is not one.
inline constexpr std::uintmax_t kMaxCameraFileBytes = 1024 * 1024;

// The file name for a program: its file name without folder and without the
// extension that starts at the last dot, followed by ".cam". Folders end at
// '/', '\\' or ':'.
std::string CameraFileName(const std::string& program_path);

// The folder of installed data (such as "../share/zorva") as seen from the
// folder of an installed program.
const char* InstalledDataFolder();

// The camera file a program reads and saves: the one in the working folder
// when it exists (CameraFileName), else the one installed with the program
// in installed_folder relative to the program's folder, else the working
// folder's again, where the first saved position creates it.
std::string CameraFileToUse(const std::string& program_path,
                            const std::string& installed_folder = InstalledDataFolder());

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
// Only a regular file of at most kMaxCameraFileBytes is read: anything else
// under that name (a pipe that would block, a device that never ends) is
// refused with a message.
TCameraFile LoadCameraFile(const std::string& file_name);
// Reads lines until the end of the stream; a line ending in CR LF loses the CR.
void ReadCameraLines(std::istream& in, TCameraFile& file);

}  // namespace zorva
