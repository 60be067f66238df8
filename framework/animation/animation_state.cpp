#include "animation/animation_state.h"

#include <algorithm>

namespace zorva {

double SpeedInterval(int position) {
    const double p = std::clamp(position, 0, 100);
    // Fine steps at the slow end, then ever coarser ones; the last stretch
    // jumps from 11 to 43 on purpose.
    if (p <= 10) return p / 100.0;
    if (p <= 20) return 0.1 + (p - 10) / 25.0;
    if (p <= 30) return 0.5 + (p - 20) / 20.0;
    if (p <= 70) return 1.0 + (p - 30) / 4.0;
    return 10.0 + 33.0 * (p - 70);
}

}  // namespace zorva
