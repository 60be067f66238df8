#pragma once
// The value of "--snapshot TIME:FILE.png": the animation frame at simulated
// time TIME, written to FILE.png.

#include <optional>
#include <string>

#include "animation/snapshots.h"

namespace zorva {

struct ParsedSnapshot {
    std::optional<TSnapshotRequest> Request;
    std::string Error;  // one line, set when there is no request
};

ParsedSnapshot ParseSnapshotOption(const std::string& value);

}  // namespace zorva
