#pragma once
// The keeper who works the lock: he fills the chamber from the side it is
// open to, changes it over and empties it on the other side.

#include <string>

#include "kernel/element.h"

namespace zorva {

inline constexpr double ChangeoverTime = 10.0;

class TLockKeeper : public ZorvaElement {
public:
    explicit TLockKeeper(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override;
};

}  // namespace zorva
