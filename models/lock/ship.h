#pragma once
// A ship passing the lock, and on its way to the other lock if it was born
// here.

#include <cstdint>
#include <string>

#include "kernel/element.h"

namespace zorva {

class TLockModel;

inline constexpr double SailInTime = 2.0;
inline constexpr double SailOutTime = 2.0;

class TShip : public ZorvaElement {
public:
    TShip(const std::string& name, double attribute, std::uint8_t side, TLockModel& model);
    void Process() override;

    double Attribute;
    std::uint8_t Side;

private:
    TLockModel& model_;
};

}  // namespace zorva
