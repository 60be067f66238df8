#pragma once
/// \file
/// The time of "no event".

namespace zorva {

/// Simulation time of "no event": the time of the sequencing set's sentinels,
/// the EventTime of an element with nothing pending, and what a model with
/// nothing left to do asks the server for.
inline constexpr double NeverTime = 1.7e307;

}  // namespace zorva
