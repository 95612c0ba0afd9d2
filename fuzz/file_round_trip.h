// The first half of a file round trip: bytes read into a value, and the value written back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/errors.h"
#include "engine/line_text.h"

namespace morv {

// Resets `into` to `blank`, reads `data` into it and writes it to `saved`. False when the reader
// refuses the bytes, or the writer refuses what the reader took (a text a file cannot carry);
// both are allowed, so the input is done with.
template <class Value, class Load, class Save>
bool LoadThenSave(const uint8_t* data, std::size_t size, const Value& blank, Value& into, Load load,
                  Save save, TextLines& saved) {
  const TextLines input = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  into = blank;
  try {
    load(input, into);
    save(into, saved);
  } catch (const ConversionError&) {
    return false;
  } catch (const FormatError&) {
    return false;
  }
  return true;
}

}  // namespace morv
