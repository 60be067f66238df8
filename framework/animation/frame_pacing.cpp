#include "animation/frame_pacing.h"

#include <chrono>

namespace zorva {

double TFramePacer::SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace zorva
