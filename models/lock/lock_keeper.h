#pragma once
// The keeper who works the lock: he fills the chamber from the side it is
// open to, changes it over and empties it on the other side.

#include <string>

#include "kernel/element.h"
#include "lock/lock.h"

namespace zorva {

inline constexpr double ChangeoverTime = 10.0;

class TLockKeeper : public ZorvaElement {
public:
    TLockKeeper(const std::string& name, TLock& lock) : ZorvaElement(this, name), lock_(lock) {}
    void Process() override;

private:
    TLock& lock_;
};

}  // namespace zorva
