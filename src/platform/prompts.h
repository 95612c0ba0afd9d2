// The one seam for every modal interaction, so tests can script the user's answers.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QDialog;

namespace morv {

struct FileDialogOptions {
  QString title;
  QString filter;         // Qt filter syntax, "Name (*.EXT *.ext)"
  QString defaultSuffix;  // appended when the chosen name has no extension
  bool mustExist = false;
  bool confirmOverwrite = false;
};

// How the user left a Yes/No question: Escape and the close button answer neither.
enum class Answer { Yes, No, Dismissed };

// How the user answered whether to save changes first; Escape and the close button cancel.
enum class SaveAnswer { Save, Discard, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A plain message box captioned "Morv! 5" with one OK button.
  virtual void ShowMessage(const QString& text) = 0;

  // An error-style box captioned "Error" with Yes and No.
  virtual Answer AskYesNoError(const QString& text) = 0;

  // A question captioned "Morv! 5" with Yes, the default, and No.
  virtual Answer AskYesNo(const QString& text) = 0;

  // A question captioned "Morv! 5" with Save, the default, Discard and Cancel.
  virtual SaveAnswer AskToSave(const QString& text) = 0;

  // A file name, or nothing when the user cancels. A name typed without an extension has the
  // default suffix added, and a save that would replace an existing file asks first, about the
  // name that is actually returned.
  virtual std::optional<QString> OpenFileName(const FileDialogOptions& options) = 0;
  virtual std::optional<QString> SaveFileName(const FileDialogOptions& options) = 0;

  // A colour as 0x00BBGGRR, or nothing when the user cancels.
  virtual std::optional<int32_t> ChooseColour(int32_t initial) = 0;

  // Shows one of the program's own dialogs modally and returns its result code.
  virtual int ExecDialog(QDialog& dialog) = 0;
};

}  // namespace morv
