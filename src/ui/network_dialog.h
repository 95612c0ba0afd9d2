// The set-up dialog of network rendering: server address, shared folder and file base name.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

class Tnetwork : public QDialog {
  Q_OBJECT

 public:
  explicit Tnetwork(QWidget* parent = nullptr);

  // OK: closes the dialog; the fields keep their texts for the next request.
  void BitBtn1Click();

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLineEdit* Edit1;  // address of the render server
  QLineEdit* Edit2;  // the shared folder; its final separator may be left out
  QLineEdit* Edit3;  // base name of the exchanged files

  QPushButton* BitBtn1;

  // The dialog has no Cancel: Escape and the window frame do not close it.
  void reject() override {}

 protected:
  void showEvent(QShowEvent* event) override;
};

// The one instance, valid while the application owns it.
extern Tnetwork* network;

}  // namespace morv
