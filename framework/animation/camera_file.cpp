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

const char* InstalledDataFolder() {
    return ZORVA_DATA_FROM_PROGRAMS;
}

std::string CameraFileToUse(const std::string& program_path, const std::string& installed_folder) {
    const std::string name = CameraFileName(program_path);
    std::error_code error;
    if (std::filesystem::exists(name, error) || installed_folder.empty()) return name;
    const std::filesystem::path installed =
        (std::filesystem::path(program_path).parent_path() / installed_folder / name).lexically_normal();
    return std::filesystem::exists(installed, error) ? installed.string() : name;
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

namespace {

// Why the file is not read, or empty when it may be. Decided before it is
// opened: opening a pipe waits for a writer.
std::string RefusalOf(const std::string& file_name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file_name, error);
    if (std::filesystem::is_directory(status)) return "it is a folder";
    if (!std::filesystem::is_regular_file(status)) return "it is not a regular file";
    const std::uintmax_t size = std::filesystem::file_size(file_name, error);
    if (!error && size > kMaxCameraFileBytes)
        return "it is larger than " + std::to_string(kMaxCameraFileBytes / (1024 * 1024)) + " MiB";
    return {};
}

}  // namespace

TCameraFile LoadCameraFile(const std::string& file_name) {
    TCameraFile file;
    std::error_code ignored;
    if (!std::filesystem::exists(file_name, ignored)) return file;
    if (const std::string refusal = RefusalOf(file_name); !refusal.empty()) {
        file.Message = "Cannot read camera positions from \"" + file_name + "\": " + refusal;
        return file;
    }
    errno = 0;
    std::ifstream in(file_name, std::ios::binary);
    if (!in) {
        file.Message = "Cannot read camera positions from \"" + file_name +
                       "\": " + (errno != 0 ? std::strerror(errno) : "open failed");
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
