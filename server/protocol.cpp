#include "protocol.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zorva::server {

bool isNeverTime(double time) { return time >= kNeverTime * 0.5; }

std::string formatTime(double time) {
  if (time == 0.0) time = 0.0;  // no "-0.00"
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, time,
                                    std::chars_format::fixed, 2);
  if (result.ec != std::errc()) return "0.00";
  return std::string(buffer, result.ptr);
}

std::optional<double> parseTime(std::string_view text) {
  text = trim(text);
  if (text.empty() || text.size() > 400) return std::nullopt;
  std::string digits(text);
  if (const auto comma = digits.find(','); comma != std::string::npos &&
                                           digits.find('.') == std::string::npos)
    digits[comma] = '.';
  double value = 0;
  const char* end = digits.data() + digits.size();
  const auto result = std::from_chars(digits.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string_view trim(std::string_view text) {
  const auto isBlank = [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7f';
  };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string sanitize(std::string_view text) {
  std::string clean(text);
  for (char& c : clean)
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
  return clean;
}

}  // namespace zorva::server
