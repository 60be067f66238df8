#pragma once
/// \file
/// Naming of elements: ShipL, ShipL2, ShipL3, ... counted per base name and per
/// class Process, so two classes may both have an element named ShipL.

#include <cstdint>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

namespace zorva {

/// The class whose Process a class runs: the nearest class, itself or an
/// ancestor, that declares Process. Name lookup in &Self::Process finds exactly
/// that declaration, and the member pointer's type names its class.
template <class MemberPointer>
struct ProcessOwner;
template <class C>
struct ProcessOwner<void (C::*)()> {
    using type = C;
};
template <class C>
struct ProcessOwner<void (C::*)() noexcept> {
    using type = C;
};

template <class Self>
std::type_index ProcessKeyOf() {
    return std::type_index(typeid(typename ProcessOwner<decltype(&Self::Process)>::type));
}

struct TElementClass {
    std::int64_t ElementCount = 0;
    std::string Name;  // the trimmed base name
    std::type_index ProcessKey;
};

/// Without leading and trailing blanks and control characters.
std::string TrimName(std::string_view name);

/// Counts one more element under (processKey, trimmed name) and returns its
/// name: the base name for the first, then the base name followed by the count.
std::string NextElementName(std::type_index processKey, std::string_view name);

/// The records in order of first use, for inspection.
const std::vector<TElementClass>& ElementClasses();
void ResetElementRegistry();

}  // namespace zorva
