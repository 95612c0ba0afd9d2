// The real modal interactions: Qt message boxes and dialogs.
#pragma once

#include <QWidget>

#include "platform/prompts.h"

namespace morv {

class QtPrompts : public Prompts {
 public:
  void ShowMessage(const QString& text) override;
  bool AskYesNoError(const QString& text) override;
  std::optional<QString> OpenFileName(const FileDialogOptions& options) override;
  std::optional<QString> SaveFileName(const FileDialogOptions& options) override;
  std::optional<int32_t> ChooseColour(int32_t initial) override;
  int ExecDialog(QDialog& dialog) override;
};

// Appends "." + suffix to a file name whose last path component has no extension.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

}  // namespace morv
