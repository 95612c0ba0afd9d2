// The password scrambling of model files: a two-character additive key over 8-bit codes.
#pragma once

#include <string>

namespace morv {

// Odd positions (1-based) are shifted by the key's first character code, even ones by its second,
// modulo 256. `key` must hold at least two characters.
std::string ScrambleText(const std::string& key, const std::string& text);
std::string UnscrambleText(const std::string& key, const std::string& text);

}  // namespace morv
