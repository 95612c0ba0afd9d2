// Conversion between 32-bit integers and their decimal text in files.
#include "engine/integer_text.h"

#include <charconv>

#include "engine/errors.h"
#include "engine/message_value.h"

namespace morv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

int32_t StrToInt(std::string_view text) {
  std::string_view digits = text;
  while (!digits.empty() && IsBlank(digits.front())) digits.remove_prefix(1);
  while (!digits.empty() && IsBlank(digits.back())) digits.remove_suffix(1);
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  // Digits only: from_chars would otherwise take a second sign.
  bool valid = !digits.empty();
  for (char c : digits) valid = valid && c >= '0' && c <= '9';
  int64_t magnitude = 0;
  if (valid) {
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    valid = ec == std::errc() && end == digits.data() + digits.size();
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (!valid || value < INT32_MIN || value > INT32_MAX) {
    throw ConversionError("'" + MessageValue(text) + "' is not a valid integer value");
  }
  return static_cast<int32_t>(value);
}

std::string IntToStr(int32_t value) { return std::to_string(value); }

}  // namespace morv
