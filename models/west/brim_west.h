#pragma once
// The west lock: ships are born on its west side, pass eastwards and are
// offered to the east lock; ships from the east lock pass westwards and leave.

namespace zorva {

// Builds the model and connects it to the framework; the generator and the
// keeper begin when the run starts.
void InitBrimWest();

}  // namespace zorva
