// The real modal interactions: Qt message boxes and dialogs.
#pragma once

#include <QFileDialog>
#include <QWidget>
#include <memory>

#include "platform/prompts.h"

namespace morv {

class QtPrompts : public Prompts {
 public:
  void ShowMessage(const QString& text) override;
  Answer AskYesNoError(const QString& text) override;
  Answer AskYesNo(const QString& text) override;
  SaveAnswer AskToSave(const QString& text) override;
  std::optional<QString> OpenFileName(const FileDialogOptions& options) override;
  std::optional<QString> SaveFileName(const FileDialogOptions& options) override;
  std::optional<int32_t> ChooseColour(int32_t initial) override;
  int ExecDialog(QDialog& dialog) override;
};

enum class FileDialogMode { Open, Save };

// The file dialog the prompts run, set up from `options` but not yet shown. It never asks about
// replacing a file itself: the name it returns may still gain the default suffix, so the
// prompts ask about the final name once the dialog is done.
std::unique_ptr<QFileDialog> BuildFileDialog(const FileDialogOptions& options, FileDialogMode mode,
                                             QWidget* parent);

// Appends "." + suffix to a file name whose last path component has no extension.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

}  // namespace morv
