#pragma once
// Numbers as the user sees and types them in the windows: the "0.00"
// pattern with the decimal separator of the user's locale. Protocol lines
// and files keep their own locale-free form (engine/number_text.h).

#include <optional>
#include <string>

namespace zorva {

// FormatFixed with the locale's decimal separator: FormatLocal(2.5) is
// "2.50" in English and "2,50" in German.
std::string FormatLocal(double value, int decimals = 2);

// The whole text read as a number in the user's locale; nullopt if it is
// not one.
std::optional<double> ParseLocal(const std::string& text);

}  // namespace zorva
