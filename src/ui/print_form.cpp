// The print sheet: the page image of one axis plane of the model, rendered but never shown.
#include "ui/print_form.h"

#include <QPainter>
#include <utility>

#include "ui/fixed_layout.h"

namespace morv {

TPrintForm* PrintForm = nullptr;

TPrintForm::TPrintForm(QWidget* parent) : QWidget(parent, BareWindowFlags) {
  // Tall enough for the header and the whole 600 x 600 diagram below it.
  FixClientSize(this, "PrintForm", QStringLiteral("PrintF"), SheetWidth, SheetHeight);
  setFont(DefaultWindowFont());
  page_ = QImage(SheetWidth, SheetHeight, QImage::Format_RGB32);
  page_.fill(Qt::white);
}

void TPrintForm::FillHeader(TPrintHeader header) { header_ = std::move(header); }

const QImage& TPrintForm::DrawPage(const TMorvObject& model, int page) {
  page_ = DrawSheetPage(model, page, header_);
  update();
  return page_;
}

void TPrintForm::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawImage(0, 0, page_);
}

}  // namespace morv
