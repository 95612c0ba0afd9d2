// The real modal interactions: Qt message boxes and dialogs.
#include "widgets/qt_prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include "platform/colour.h"
#include "platform/file_system.h"

namespace morv {

namespace {

const QString ApplicationTitle = QStringLiteral("Morv! 5");

// A Yes/No box whose Escape key and close button answer neither, where a plain message box
// would take them for No.
class QuestionBox : public QMessageBox {
 public:
  static constexpr int DismissedCode = QDialog::Rejected;

  QuestionBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* parent)
      : QMessageBox(icon, caption, text, QMessageBox::Yes | QMessageBox::No, parent) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Cancel)) {
      done(DismissedCode);
      return;
    }
    QMessageBox::keyPressEvent(event);
  }

  void closeEvent(QCloseEvent* event) override {
    event->accept();
    done(DismissedCode);
  }
};

Answer AnswerOf(int result) {
  switch (result) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Dismissed;
  }
}

// Asks, over the file dialog, whether an existing file may be replaced.
bool ConfirmReplace(QWidget& dialog, const QString& path) {
  QMessageBox box(
      QMessageBox::Warning, dialog.windowTitle(),
      QFileInfo(path).fileName() + QStringLiteral(" already exists.\nDo you want to replace it?"),
      QMessageBox::Yes | QMessageBox::No, &dialog);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> RunFileDialog(const FileDialogOptions& options, FileDialogMode mode) {
  const std::unique_ptr<QFileDialog> dialog =
      BuildFileDialog(options, mode, QApplication::activeWindow());
  // Declining to replace a file goes back to the dialog, as its own question would.
  while (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
    const QString path = WithDefaultSuffix(dialog->selectedFiles().first(), options.defaultSuffix);
    const bool replaces =
        mode == FileDialogMode::Save && options.confirmOverwrite && LookUpFile(path).has_value();
    if (!replaces || ConfirmReplace(*dialog, path)) return path;
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<QFileDialog> BuildFileDialog(const FileDialogOptions& options, FileDialogMode mode,
                                             QWidget* parent) {
  auto dialog =
      std::make_unique<QFileDialog>(parent, options.title, QDir::homePath(), options.filter);
  dialog->setAcceptMode(mode == FileDialogMode::Save ? QFileDialog::AcceptSave
                                                     : QFileDialog::AcceptOpen);
  dialog->setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog->setDefaultSuffix(options.defaultSuffix);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  return dialog;
}

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
  if (suffix.isEmpty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  if (path.endsWith(QLatin1Char('.'))) return path + suffix;
  return path + QLatin1Char('.') + suffix;
}

void QtPrompts::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

Answer QtPrompts::AskYesNoError(const QString& text) {
  QuestionBox box(QMessageBox::Critical, QStringLiteral("Error"), text,
                  QApplication::activeWindow());
  return AnswerOf(box.exec());
}

Answer QtPrompts::AskYesNo(const QString& text) {
  QuestionBox box(QMessageBox::Question, ApplicationTitle, text, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Yes);
  return AnswerOf(box.exec());
}

SaveAnswer QtPrompts::AskToSave(const QString& text) {
  QMessageBox box(QMessageBox::Warning, ApplicationTitle, text,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                  QApplication::activeWindow());
  // The desktop's own wording ("Close without Saving") would not fit every question.
  box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
  box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Cancel"));
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveAnswer::Save;
    case QMessageBox::Discard:
      return SaveAnswer::Discard;
    default:
      return SaveAnswer::Cancel;
  }
}

std::optional<QString> QtPrompts::OpenFileName(const FileDialogOptions& options) {
  return RunFileDialog(options, FileDialogMode::Open);
}

std::optional<QString> QtPrompts::SaveFileName(const FileDialogOptions& options) {
  return RunFileDialog(options, FileDialogMode::Save);
}

std::optional<int32_t> QtPrompts::ChooseColour(int32_t initial) {
  const QColor chosen =
      QColorDialog::getColor(ColourToQColor(initial), QApplication::activeWindow());
  if (!chosen.isValid()) return std::nullopt;
  return QColorToColour(chosen);
}

int QtPrompts::ExecDialog(QDialog& dialog) { return dialog.exec(); }

}  // namespace morv
