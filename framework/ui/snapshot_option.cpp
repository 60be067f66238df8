#include "ui/snapshot_option.h"

#include <algorithm>
#include <cctype>

#include "wire/number_text.h"

namespace zorva {

namespace {

bool EndsWithPng(const std::string& file) {
    if (file.size() <= 4) return false;
    std::string suffix = file.substr(file.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix == ".png";
}

}  // namespace

ParsedSnapshot ParseSnapshotOption(const std::string& value) {
    const std::string error =
        "--snapshot needs TIME:FILE.png with a time of 0 or more, such as 500:west.png, not '" + value + "'";
    // A time holds no ':', a file name may.
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos) return {std::nullopt, error};
    const std::optional<double> time = ParseNumber(value.substr(0, colon));
    const std::string file = value.substr(colon + 1);
    if (!time || *time < 0.0 || !EndsWithPng(file)) return {std::nullopt, error};
    return {TSnapshotRequest{*time, file}, {}};
}

}  // namespace zorva
