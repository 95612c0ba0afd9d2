// The MVD4 model file: one value per line, the password scrambled with a fixed key.
#pragma once

#include <string>

#include "engine/line_text.h"
#include "engine/model.h"

namespace morv {

inline constexpr const char* PasswordKey = "plexon3k";

// False for the few passwords a model file cannot carry: those whose scrambled form would hold a
// line break or NUL, and the one whose scrambled form is a lone space (which reads back as "no
// password").
bool PasswordFitsModelFile(const std::string& password);

// False for a name or owner holding a line break or NUL: written out, it would shift every later
// line of the file.
bool TextFitsModelFile(const std::string& text);

// Replaces `lines` with the file form of `model`. Throws FormatError, leaving `lines` untouched,
// when the password, the name or the owner does not fit a model file.
void SaveModel(const TMorvObject& model, TextLines& lines);

// Reads the file form in `lines` into `model`. The whole file is read before `model` changes: on
// any error (ConversionError for a line that is not an integer or for a file that ends before
// one, FormatError for a count outside the model's capacity, each naming the line) `model` is
// left exactly as it was. Velocities, accelerations and entries beyond the new counts keep their
// values.
void LoadModel(const TextLines& lines, TMorvObject& model);

}  // namespace morv
