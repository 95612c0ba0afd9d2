// The application's one error report: a handler that fails ends there and its error is shown.
#pragma once

#include <exception>
#include <utility>

#include "platform/prompts.h"

namespace morv {

// Shows the error's text followed by a full stop in a plain "Morv! 5" message box.
void ReportError(Prompts& prompts, const std::exception& error);

// Runs a handler; an error it raises ends it and is reported. Returns false when it failed.
template <typename Handler>
bool RunReported(Prompts& prompts, Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const std::exception& error) {
    ReportError(prompts, error);
    return false;
  }
}

}  // namespace morv
