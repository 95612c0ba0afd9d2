// The set-up dialog of network rendering: server address, shared folder and file base name.
#pragma once

#include <QDialog>

namespace morv {

class Tnetwork : public QDialog {
  Q_OBJECT

 public:
  explicit Tnetwork(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern Tnetwork* network;

}  // namespace morv
