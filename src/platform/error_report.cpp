// The application's one error report.
#include "platform/error_report.h"

namespace morv {

void ReportError(Prompts& prompts, const std::exception& error) {
  prompts.ShowMessage(QString::fromUtf8(error.what()) + QLatin1Char('.'));
}

}  // namespace morv
