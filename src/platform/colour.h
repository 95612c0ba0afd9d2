// Model colours (0x00BBGGRR: red in the lowest byte) to and from Qt colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace morv {

inline QColor ColourToQColor(int32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

inline int32_t QColorToColour(const QColor& colour) {
  return static_cast<int32_t>(static_cast<uint32_t>(colour.red()) |
                              (static_cast<uint32_t>(colour.green()) << 8) |
                              (static_cast<uint32_t>(colour.blue()) << 16));
}

}  // namespace morv
