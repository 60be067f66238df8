#include "kernel/msg_string.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "wire/number_text.h"
#include "wire/protocol.h"

namespace zorva {

namespace {

constexpr std::string_view kSeparator = kFieldSeparator;
constexpr double kRealLimit = 1.7E38;

// Whether `value` converts to a finite float. Doubles up to FLT_MAX plus half
// a float ulp (exclusive) round to FLT_MAX; anything above rounds to infinity.
bool FitsInFloat(double value) {
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    constexpr double kHalfUlp = 0x1p103;  // ulp(FLT_MAX) = 2^(127 - 23)
    return std::fabs(value) < kFloatMax + kHalfUlp;
}

}  // namespace

TMsgString::TMsgString(std::string_view payload) : rest_(Trim(payload)) {}

void TMsgString::NextField() {
    const std::size_t at = rest_.find(kSeparator);
    if (at == std::string::npos) {
        currentField_ = Trim(rest_);
        rest_.clear();
    } else {
        currentField_ = Trim(std::string_view(rest_).substr(0, at));
        rest_.erase(0, at + kSeparator.size());
    }
    readError_ = false;
}

template <typename T>
T TMsgString::Fail() {
    readError_ = true;
    return T{0};
}

std::string TMsgString::GetString() {
    NextField();
    return currentField_;
}

bool TMsgString::GetBoolean() {
    NextField();
    return !currentField_.empty() && std::string_view("1TtYy").find(currentField_.front()) != std::string_view::npos;
}

std::int32_t TMsgString::GetInteger() {
    NextField();
    const std::optional<std::int32_t> value = ParseInteger(currentField_);
    return value ? *value : Fail<std::int32_t>();
}

std::int32_t TMsgString::GetLongInt() {
    return GetInteger();
}

// A failed conversion returns 0, which every range below holds, so its error stands.
template <typename T>
T TMsgString::GetIntegerAs() {
    const std::int32_t value = GetInteger();
    return std::in_range<T>(value) ? static_cast<T>(value) : Fail<T>();
}

std::int16_t TMsgString::GetSmallInt() {
    return GetIntegerAs<std::int16_t>();
}

std::uint8_t TMsgString::GetByte() {
    return GetIntegerAs<std::uint8_t>();
}

std::uint16_t TMsgString::GetWord() {
    return GetIntegerAs<std::uint16_t>();
}

std::uint32_t TMsgString::GetCardinal() {
    return GetIntegerAs<std::uint32_t>();
}

double TMsgString::GetDouble() {
    NextField();
    const std::optional<double> value = ParseNumber(currentField_);
    return value ? *value : Fail<double>();
}

double TMsgString::GetReal() {
    const double value = GetDouble();
    return value >= -kRealLimit && value <= kRealLimit ? value : Fail<double>();
}

float TMsgString::GetSingle() {
    const double value = GetDouble();
    return FitsInFloat(value) ? static_cast<float>(value) : Fail<float>();
}

}  // namespace zorva
