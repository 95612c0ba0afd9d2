// Prompts whose answers a test scripts in advance and whose questions it reads back.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/prompts.h"

namespace morv::test {

class ScriptedPrompts : public Prompts {
 public:
  // Every message box shown, in order, and every question asked.
  QStringList messages;
  QStringList questions;
  std::vector<FileDialogOptions> fileDialogs;
  std::vector<int32_t> colourPresets;

  // Answers, consumed in order. A question or dialog without a scripted answer fails the test
  // and is answered with No / cancel.
  // Both kinds of Yes/No question take theirs from here.
  std::deque<Answer> yesNoAnswers;
  std::deque<SaveAnswer> saveAnswers;
  std::deque<std::optional<QString>> fileAnswers;
  std::deque<std::optional<int32_t>> colourAnswers;
  // Each scripted dialog action fills the dialog's fields and returns its result code.
  std::deque<std::function<int(QDialog&)>> dialogActions;

  void ShowMessage(const QString& text) override;
  Answer AskYesNoError(const QString& text) override;
  Answer AskYesNo(const QString& text) override;
  SaveAnswer AskToSave(const QString& text) override;
  std::optional<QString> OpenFileName(const FileDialogOptions& options) override;
  std::optional<QString> SaveFileName(const FileDialogOptions& options) override;
  std::optional<int32_t> ChooseColour(int32_t initial) override;
  int ExecDialog(QDialog& dialog) override;

  // True when every scripted answer was used.
  bool AllAnswersUsed() const;
};

}  // namespace morv::test
