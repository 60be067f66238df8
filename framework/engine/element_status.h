#pragma once
/// \file
/// The status codes of an element and where a suspended process continues.

#include <cstdint>

#include "wire/never_time.h"

namespace zorva {

/// Element status codes. Compared numerically ("at most Passive" is 0 to 2),
/// hence a plain enumeration over a byte.
enum ElementStatus : std::uint8_t {
    esData = 0,
    esClaiming = 1,
    esPassive = 2,
    esInterrupted = 3,
    esScheduledOnTime = 4,
    esScheduledOnState = 5,
    esCurrent = 6,
};

/// Where a suspended or scheduled process continues when it is next resumed.
/// The machine-level return address lives in the saved segment; this records
/// which primitive it belongs to, which the stand-by re-entry rule needs.
enum class ResumePointKind : std::uint8_t {
    None,          // never scheduled
    ProcessEntry,  // starts its life from the first statement
    AfterHold,
    AfterStandBy,
    AfterPassivate,
};

}  // namespace zorva
