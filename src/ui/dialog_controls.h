// Controls shared by the editing dialogs: spin edits, OK and Cancel buttons, italic axis labels.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "ui/spin_edit.h"

namespace morv {

// An integer field that brings every value into its range.
TSpinEdit* MakeSpinEdit(QWidget* parent, const char* name, int minimum, int maximum, int value,
                        int left, int top, int width, int height);

// A spin edit without a range of its own: any 32-bit value.
TSpinEdit* MakeUnlimitedSpinEdit(QWidget* parent, const char* name, int left, int top, int width,
                                 int height);

// A push button; the default one is pressed by Enter.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height, bool isDefault = false);

// "x", "y", "z" above the coordinate fields, in italic Times New Roman 16 pixels high.
QLabel* MakeAxisLetter(QWidget* parent, const char* name, const QString& letter, int left, int top);

// A dialog that closes only through its own buttons: Escape and the window frame run Cancel. It
// opens with the focus on its first field in tab order, whichever field was used last.
class TEditDialog : public QDialog {
 public:
  explicit TEditDialog(QWidget* parent, Qt::WindowFlags flags);

  // Cancel: resets the dialog's fields and closes it.
  virtual void Cancel() = 0;

  void reject() override { Cancel(); }

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace morv
