// The print sheet: the page image of one axis plane of the model, rendered but never shown.
#pragma once

#include <QImage>
#include <QWidget>

#include "drawing/print_sheet.h"
#include "engine/model.h"

namespace morv {

class TPrintForm : public QWidget {
  Q_OBJECT

 public:
  explicit TPrintForm(QWidget* parent = nullptr);

  // The header of the pages to come: name, owner, statistics line and thumbnail.
  void FillHeader(TPrintHeader header);
  const TPrintHeader& Header() const { return header_; }

  // Draws page 1..3 of the model under the current header; the sheet shows it until the next.
  const QImage& DrawPage(const TMorvObject& model, int page);
  const QImage& Page() const { return page_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TPrintHeader header_;
  QImage page_;
};

// The one instance, valid while the application owns it.
extern TPrintForm* PrintForm;

}  // namespace morv
