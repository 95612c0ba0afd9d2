// The print sheet: the page image of one axis plane of the model, rendered but never shown.
#include "ui/print_form.h"

#include "ui/fixed_layout.h"

namespace morv {

TPrintForm* PrintForm = nullptr;

TPrintForm::TPrintForm(QWidget* parent) : QWidget(parent, BareWindowFlags) {
  // Tall enough for the header and the whole 600 x 600 diagram below it.
  FixClientSize(this, "PrintForm", QStringLiteral("PrintF"), 617, 1000);
  setFont(DefaultWindowFont());
  // The sheet prints as it looks, so its ground is the paper's white.
  setAutoFillBackground(true);
  QPalette sheet = palette();
  sheet.setColor(QPalette::Window, Qt::white);
  setPalette(sheet);
}

}  // namespace morv
