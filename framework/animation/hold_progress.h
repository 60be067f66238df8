#pragma once

/// \file
/// How far an element has come in a hold, for drawing it between the two
/// states the hold separates (a ship crossing the chamber, a gate closing).
/// The answer comes from the element's own state, so drawing adds no event.

#include <algorithm>

#include "engine/engine.h"
#include "engine/process_element.h"

namespace zorva {

/// From 0 at the start of a hold of `duration` to 1 at its end, at `time`.
/// A holding element's EventTime ends its hold. The element being resumed is
/// current and has no EventTime any more: its hold ends at the clock, which
/// the run loop has just moved to it.
inline double HoldProgress(const ZorvaProcessElement& element, double duration, double time) {
    const double end = element.Status == esCurrent ? SimTime() : element.EventTime;
    if (!(duration > 0.0) || end >= NeverTime) return 1.0;
    return std::clamp((time - (end - duration)) / duration, 0.0, 1.0);
}

/// Whether the element is in a hold or has just ended one and is being
/// resumed from it.
inline bool InHold(const ZorvaProcessElement& element) {
    return element.ResumePoint == ResumePointKind::AfterHold &&
           (element.Status == esScheduledOnTime || element.Status == esCurrent);
}

}  // namespace zorva
