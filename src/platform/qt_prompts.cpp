// The real modal interactions: Qt message boxes and dialogs.
#include "platform/qt_prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/colour.h"

namespace morv {

namespace {

const QString ApplicationTitle = QStringLiteral("Morv! 5");

std::optional<QString> RunFileDialog(const FileDialogOptions& options, bool save) {
  QFileDialog dialog(QApplication::activeWindow(), options.title, QDir::homePath(), options.filter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(options.defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return WithDefaultSuffix(dialog.selectedFiles().first(), options.defaultSuffix);
}

}  // namespace

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

bool QtPrompts::AskYesNoError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text,
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::OpenFileName(const FileDialogOptions& options) {
  return RunFileDialog(options, false);
}

std::optional<QString> QtPrompts::SaveFileName(const FileDialogOptions& options) {
  return RunFileDialog(options, true);
}

std::optional<int32_t> QtPrompts::ChooseColour(int32_t initial) {
  const QColor chosen =
      QColorDialog::getColor(ColourToQColor(initial), QApplication::activeWindow());
  if (!chosen.isValid()) return std::nullopt;
  return QColorToColour(chosen);
}

int QtPrompts::ExecDialog(QDialog& dialog) { return dialog.exec(); }

}  // namespace morv
