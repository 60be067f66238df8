#include "animation/camera_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace zorva {

std::string CameraFileName(const std::string& program_path) {
    // The folder goes first, so that a dot in a folder's name is not taken
    // for the start of the extension.
    std::string name = program_path;
    const std::size_t folder_end = name.find_last_of("/\\:");
    if (folder_end != std::string::npos) name.erase(0, folder_end + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name + ".cam";
}

std::string CameraPositionName(const std::string& line) {
    const std::size_t separator = line.find(kCameraSeparator);
    return separator == std::string::npos ? std::string() : line.substr(0, separator);
}

void ReadCameraLines(std::istream& in, TCameraFile& file) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        file.Names.push_back(CameraPositionName(line));
        file.Lines.push_back(std::move(line));
    }
}

TCameraFile LoadCameraFile(const std::string& file_name) {
    TCameraFile file;
    std::error_code ignored;
    if (!std::filesystem::exists(file_name, ignored)) return file;
    if (std::filesystem::is_directory(file_name, ignored)) {
        file.Message = "Cannot read camera positions from \"" + file_name + "\": it is a folder";
        return file;
    }
    errno = 0;
    std::ifstream in(file_name, std::ios::binary);
    if (!in) {
        file.Message = "Cannot read camera positions from \"" + file_name + "\": " +
                       (errno != 0 ? std::strerror(errno) : "open failed");
        return file;
    }
    ReadCameraLines(in, file);
    if (in.bad()) {
        file.Message = "Reading camera positions from \"" + file_name + "\" stopped after line " +
                       std::to_string(file.Lines.size()) + ": input/output error";
    }
    return file;
}

}  // namespace zorva
