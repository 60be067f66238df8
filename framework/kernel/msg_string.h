#pragma once

/// \file
/// Reader of message payloads whose fields are separated by "!!".
///
///   TMsgString msg("ShipL2!!22.50!!120.00");
///   std::string name = msg.GetString();   // "ShipL2"
///   double attribute = msg.GetDouble();   // 22.5
///   double start = msg.GetDouble();       // 120.0, ReadError() false
///
/// Every getter reads exactly one field, trimmed of blanks and control
/// characters, and converts it. A numeric getter whose field is empty, not a
/// number or out of its range returns 0 and sets ReadError(); any successful
/// read clears it. Reading past the last field gives empty fields. Numbers are
/// read with '.' as the decimal separator whatever the locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace zorva {

class TMsgString {
public:
    explicit TMsgString(std::string_view payload);

    /// The field itself; never fails.
    std::string GetString();
    /// True if the field begins with 1, T, t, Y or y; never fails.
    bool GetBoolean();

    /// A signed decimal 32-bit integer.
    std::int32_t GetInteger();
    std::int32_t GetLongInt();
    /// GetInteger, then -32768 to 32767.
    std::int16_t GetSmallInt();
    /// GetInteger, then 0 to 255.
    std::uint8_t GetByte();
    /// GetInteger, then 0 to 65535.
    std::uint16_t GetWord();
    /// GetInteger, then not negative, so at most 2147483647.
    std::uint32_t GetCardinal();

    /// A finite decimal floating-point number.
    double GetDouble();
    /// GetDouble, then -1.7E38 to 1.7E38 inclusive.
    double GetReal();
    /// As GetDouble, then stored in single precision; a value that would round
    /// to infinity fails.
    float GetSingle();

    /// The part of the payload not yet read.
    const std::string& Rest() const { return rest_; }
    /// The field read last, trimmed.
    const std::string& CurrentField() const { return currentField_; }
    /// True if the last read failed.
    bool ReadError() const { return readError_; }

private:
    void NextField();
    template <typename T>
    T GetIntegerAs();
    template <typename T>
    T Fail();

    std::string rest_;
    std::string currentField_;
    bool readError_ = false;
};

}  // namespace zorva
