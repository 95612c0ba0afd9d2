// Prompts for benchmarks: no dialog should open, and any that did would be answered with a cancel.
#pragma once

#include "platform/prompts.h"

namespace morv::bench {

class SilentPrompts : public Prompts {
 public:
  void ShowMessage(const QString&) override {}
  Answer AskYesNoError(const QString&) override { return Answer::No; }
  Answer AskYesNo(const QString&) override { return Answer::No; }
  SaveAnswer AskToSave(const QString&) override { return SaveAnswer::Cancel; }
  std::optional<QString> OpenFileName(const FileDialogOptions&) override { return {}; }
  std::optional<QString> SaveFileName(const FileDialogOptions&) override { return {}; }
  std::optional<int32_t> ChooseColour(int32_t) override { return {}; }
  int ExecDialog(QDialog&) override { return 0; }
};

}  // namespace morv::bench
