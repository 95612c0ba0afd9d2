// Values read from files and command lines, made fit to quote in a message.
#include "engine/message_value.h"

#include "engine/latin1.h"

namespace morv {

namespace {

// The escape that shows `c`, or nothing when it prints as itself.
std::string Escape(unsigned char c) {
  switch (c) {
    case '\t':
      return "\\t";
    case '\r':
      return "\\r";
    case '\n':
      return "\\n";
    case '\\':
      return "\\\\";
    default:
      break;
  }
  if (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0xA0) && c != 0xAD) return {};
  static constexpr char Hex[] = "0123456789ABCDEF";
  return {'\\', 'x', Hex[c >> 4], Hex[c & 0xF]};
}

}  // namespace

std::string MessageValue(std::string_view latin1) {
  std::string out;
  std::size_t shown = 0;
  for (std::size_t i = 0; i < latin1.size(); ++i) {
    const std::string escape = Escape(static_cast<unsigned char>(latin1[i]));
    const std::size_t width = escape.empty() ? 1 : escape.size();
    if (shown + width > MessageValueLength) return out + "\xE2\x80\xA6";
    out += escape.empty() ? Latin1ToUtf8(latin1.substr(i, 1)) : escape;
    shown += width;
  }
  return out;
}

}  // namespace morv
