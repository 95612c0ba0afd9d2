// The print sheet: the page image of one axis plane of the model, rendered but never shown.
#pragma once

#include <QWidget>

namespace morv {

class TPrintForm : public QWidget {
  Q_OBJECT

 public:
  explicit TPrintForm(QWidget* parent = nullptr);
};

// The one instance, valid while the application owns it.
extern TPrintForm* PrintForm;

}  // namespace morv
