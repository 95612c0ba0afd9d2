// The password scrambling of model files.
#include "engine/crypt.h"

#include <stdexcept>

namespace morv {

namespace {

std::string Shift(const std::string& key, const std::string& text, int direction) {
  if (key.size() < 2) throw std::invalid_argument("A scrambling key needs two characters");
  const unsigned a = static_cast<unsigned char>(key[0]);
  const unsigned b = static_cast<unsigned char>(key[1]);
  std::string result(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    // i is 0-based here, so even i is an odd (1-based) position.
    const unsigned shift = (i % 2 == 0) ? a : b;
    const unsigned c = static_cast<unsigned char>(text[i]);
    const unsigned code = direction > 0 ? c + shift : c + 256u - shift;
    result[i] = static_cast<char>(code % 256u);
  }
  return result;
}

}  // namespace

std::string ScrambleText(const std::string& key, const std::string& text) {
  return Shift(key, text, +1);
}

std::string UnscrambleText(const std::string& key, const std::string& text) {
  return Shift(key, text, -1);
}

}  // namespace morv
