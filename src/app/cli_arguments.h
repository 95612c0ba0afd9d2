// What the morv-cli commands share: usage errors, arguments read as numbers and paths, model files.
#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/model.h"

namespace morv {

// A command line the command cannot run: reported with the usage text and exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

QString PathArgument(const std::string& arg);

// The whole number at args[index]; UsageError when it is missing or not a 32-bit integer.
int32_t IntegerArgument(const std::vector<std::string>& args, std::size_t index);

TMorvObject LoadModelFile(const std::string& path);
void SaveModelFile(const TMorvObject& model, const std::string& path);

}  // namespace morv
