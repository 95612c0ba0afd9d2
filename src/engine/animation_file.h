// The animation file (MVA): the set's model name, its count and each animation, one value per line.
#pragma once

#include "engine/animation.h"
#include "engine/line_text.h"

namespace morv {

// Replaces `lines` with the file form of `set`. Throws FormatError, leaving `lines` untouched,
// when the model name or an animation name holds a line break or NUL.
void SaveAnimations(const TAnimationList& set, TextLines& lines);

// Reads the file form in `lines` into `set`. The whole file is read before `set` changes: on any
// error (ConversionError for a line that is not an integer or for a file that ends before one,
// FormatError for a count outside 0..100, each naming the line) `set` is left exactly as it was. On
// success every loaded animation stops playing; animations above the new count, and locations above
// each new location count, keep their previous content.
void LoadAnimations(const TextLines& lines, TAnimationList& set);

}  // namespace morv
