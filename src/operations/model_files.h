// Model and animation-set files read and written whole, with the file's name in every error.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "engine/animation.h"
#include "engine/model.h"

namespace morv {

// The file a name in bytes stands for, its bytes kept whatever they are. Qt takes a path that
// begins with ':' for one of its resources; every path given here is a file's.
QString FilePath(const std::string& name);

// Runs `step` on the file named `path`. The readers' errors say only where in a file they stopped
// ("Line 2: ..."); they are thrown again as CommandError with the file's name in front. Errors
// that name the file themselves pass unchanged.
void ForFile(const std::string& path, const std::function<void()>& step);

// "1 joint", "4 joints", "no joints".
std::string CountOf(int32_t count, const char* one, const char* many);

// FileError when the file cannot be read or written, CommandError for content that is no model
// or set, or a model or set that the file cannot hold; nothing is written then.
TMorvObject LoadModelFile(const std::string& path);
void SaveModelFile(const TMorvObject& model, const std::string& path);
TAnimationList LoadAnimationFile(const std::string& path);
void SaveAnimationFile(const TAnimationList& set, const std::string& path);

}  // namespace morv
