#include "animation/camera_file_edit.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "animation/camera_file.h"

namespace zorva {

namespace fs = std::filesystem;

namespace {

struct TFileText {
    std::optional<std::string> Text;  // empty for a file that does not exist yet
    std::string Problem;
};

std::string SystemReason() {
    return errno != 0 ? std::strerror(errno) : "unknown error";
}

// Nobody may write it: its owner has made it read-only on purpose, and that
// holds for a user who could write it all the same.
bool ReadOnly(const fs::path& path) {
    std::error_code error;
    const fs::perms perms = fs::status(path, error).permissions();
    return !error &&
           (perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) == fs::perms::none;
}

TFileText ReadWhole(const fs::path& path) {
    std::error_code error;
    if (!fs::exists(path, error)) return {};
    if (!fs::is_regular_file(path, error)) return {std::nullopt, "it is not a regular file"};
    if (fs::file_size(path, error) > kMaxCameraFileBytes) return {std::nullopt, "it is too large"};
    if (ReadOnly(path)) return {std::nullopt, "the file is read-only"};
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, SystemReason()};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return {std::nullopt, "input/output error"};
    return {std::move(text), {}};
}

// Each line with its own ending, so that lines go back exactly as they came.
std::vector<std::string> SplitKeepingEndings(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

std::string WithoutEnding(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The real file behind a link, so that the link stays a link.
fs::path Target(const std::string& file_name) {
    std::error_code error;
    const fs::path canonical = fs::canonical(file_name, error);
    return error ? fs::path(file_name) : canonical;
}

std::string WriteReplacing(const fs::path& path, const std::string& text) {
    fs::path temporary = path;
    temporary += ".tmp";
    errno = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return "cannot create " + temporary.string() + ": " + SystemReason();
        out << text;
        out.flush();
        if (!out) {
            const std::string reason = SystemReason();
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return "cannot write " + temporary.string() + ": " + reason;
        }
    }
    std::error_code error;
    if (fs::exists(path, error)) fs::permissions(temporary, fs::status(path, error).permissions(), error);
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "cannot replace it: " + error.message();
    }
    return {};
}

std::string Failure(const std::string& what, const std::string& file_name, const std::string& reason) {
    return "Cannot " + what + " \"" + file_name + "\": " + reason + ". The file is unchanged.";
}

}  // namespace

std::string AppendCameraLine(const std::string& file_name, const std::string& line) {
    const fs::path path = Target(file_name);
    TFileText file = ReadWhole(path);
    if (!file.Problem.empty()) return Failure("save the camera position to", file_name, file.Problem);
    std::string text = file.Text.value_or(std::string());
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += line + '\n';
    if (const std::string problem = WriteReplacing(path, text); !problem.empty())
        return Failure("save the camera position to", file_name, problem);
    return {};
}

std::string RemoveCameraLine(const std::string& file_name, std::size_t index, const std::string& expected) {
    const fs::path path = Target(file_name);
    TFileText file = ReadWhole(path);
    if (!file.Problem.empty()) return Failure("delete the camera position from", file_name, file.Problem);
    std::vector<std::string> lines = SplitKeepingEndings(file.Text.value_or(std::string()));
    if (index >= lines.size() || WithoutEnding(lines[index]) != expected)
        return Failure("delete the camera position from", file_name,
                       "line " + std::to_string(index + 1) + " is no longer \"" + expected +
                           "\" (the file has changed; open the window again)");
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    std::string text;
    for (const std::string& kept : lines) text += kept;
    if (const std::string problem = WriteReplacing(path, text); !problem.empty())
        return Failure("delete the camera position from", file_name, problem);
    return {};
}

}  // namespace zorva
