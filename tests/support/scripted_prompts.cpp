// Prompts whose answers a test scripts in advance.
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>
#include <QDialog>

namespace morv::test {

namespace {

// The question is recorded and takes the next scripted answer; an unscripted one fails the test
// and gets `unscripted`.
template <class T>
T NextAnswer(QStringList& questions, std::deque<T>& answers, const QString& text, T unscripted) {
  questions.push_back(text);
  if (answers.empty()) {
    ADD_FAILURE() << "Unscripted question: " << text.toStdString();
    return unscripted;
  }
  const T answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

void ScriptedPrompts::ShowMessage(const QString& text) { messages.push_back(text); }

Answer ScriptedPrompts::AskYesNoError(const QString& text) {
  return NextAnswer(questions, yesNoAnswers, text, Answer::No);
}

Answer ScriptedPrompts::AskYesNo(const QString& text) { return AskYesNoError(text); }

SaveAnswer ScriptedPrompts::AskToSave(const QString& text) {
  return NextAnswer(questions, saveAnswers, text, SaveAnswer::Cancel);
}

std::optional<QString> ScriptedPrompts::OpenFileName(const FileDialogOptions& options) {
  return SaveFileName(options);
}

std::optional<QString> ScriptedPrompts::SaveFileName(const FileDialogOptions& options) {
  fileDialogs.push_back(options);
  if (fileAnswers.empty()) {
    ADD_FAILURE() << "Unscripted file dialog: " << options.title.toStdString();
    return std::nullopt;
  }
  std::optional<QString> answer;
  if (fileAnswers.front().has_value()) answer = *fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::optional<int32_t> ScriptedPrompts::ChooseColour(int32_t initial) {
  colourPresets.push_back(initial);
  if (colourAnswers.empty()) {
    ADD_FAILURE() << "Unscripted colour dialog";
    return std::nullopt;
  }
  auto answer = colourAnswers.front();
  colourAnswers.pop_front();
  return answer;
}

int ScriptedPrompts::ExecDialog(QDialog& dialog) {
  if (dialogActions.empty()) {
    ADD_FAILURE() << "Unscripted dialog: " << dialog.windowTitle().toStdString();
    return QDialog::Rejected;
  }
  auto action = std::move(dialogActions.front());
  dialogActions.pop_front();
  return action(dialog);
}

bool ScriptedPrompts::AllAnswersUsed() const {
  return yesNoAnswers.empty() && saveAnswers.empty() && fileAnswers.empty() &&
         colourAnswers.empty() && dialogActions.empty();
}

}  // namespace morv::test
