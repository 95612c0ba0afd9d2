// The main window's drag space: its redraw, the view-plane controls, and picking and dragging.
#include <QString>

#include "platform/error_report.h"
#include "ui/main_window.h"

namespace morv {

namespace {

// Index and model coordinates, always X, Y, Z whatever the plane: "12 (-30,45,0)".
QString StatusText(int32_t index, const TControlVertex& at) {
  return QStringLiteral("%1 (%2,%3,%4)").arg(index).arg(at.X).arg(at.Y).arg(at.Z);
}

}  // namespace

void TForm1::ConnectDragSpace() {
  for (QRadioButton* plane : {PLxy, PLyz, PLxz}) {
    connect(plane, &QRadioButton::clicked, this, &TForm1::PLxyClick);
  }
  connect(PLv, &QScrollBar::valueChanged, this, &TForm1::PLvChange);
  connect(DragSpace, &TImageView::MouseDown, this, &TForm1::DragSpaceMouseDown);
  connect(DragSpace, &TImageView::MouseMove, this,
          [this](Qt::MouseButtons buttons, QPoint position) {
            // The release went elsewhere, to a window that took the mouse: the drag ended there.
            if (buttons == Qt::NoButton) return DragSpaceMouseUp();
            DragSpaceMouseMove(position);
          });
  connect(DragSpace, &TImageView::MouseUp, this, [this] { DragSpaceMouseUp(); });
}

TViewPlane TForm1::ViewPlane() const {
  if (PLyz->isChecked()) return TViewPlane::YZ;
  if (PLxz->isChecked()) return TViewPlane::XZ;
  return TViewPlane::XY;
}

int32_t TForm1::PlaneLevel() const { return PLv->value(); }

void TForm1::DrawTheDrag() {
  DrawDragSpace(CurrentModel, ViewPlane(), PlaneLevel(), DragSpace->Picture(), PlaneControls,
                PlaneJoints);
  DragSpace->update();
}

void TForm1::PLxyClick() {
  RunReported(prompts_, [this] { DrawTheDrag(); });
}

void TForm1::PLvChange(int value) {
  RunReported(prompts_, [this, value] {
    Label8->setText(QString::number(value));
    DrawTheDrag();
  });
}

void TForm1::DragSpaceMouseDown(Qt::MouseButton button, QPoint position) {
  RunReported(prompts_, [this, button, position] {
    if (!EditGate()) return;
    const bool control = button == Qt::LeftButton;
    if (!control && button != Qt::RightButton) return;
    const TDragPoint pointer = PixelToDrag(position.x(), position.y());
    const TViewPlane plane = ViewPlane();
    const TPlaneList& list = control ? PlaneControls : PlaneJoints;
    // Every hit overwrites the one before: of overlapping squares the latest in the list, the
    // one drawn on top, wins.
    for (int32_t s = 1; s <= list.Count; ++s) {
      const int32_t index = list.Items[s];
      const TControlVertex& at =
          control ? CurrentModel.Controls[index] : CurrentModel.Joints[index].Position;
      const TDragPoint centre = DragCoordinates(at, plane);
      const int64_t dh = int64_t{pointer.H} - centre.H;
      const int64_t dv = int64_t{pointer.V} - centre.V;
      if (dh < -2 || dh > 2 || dv < -2 || dv > 2) continue;
      Dragging = true;
      DragIsControl = control;
      DragSlot = s;
      Label9->setText(StatusText(index, at));
    }
    if (Dragging) {
      History->Command(control ? QStringLiteral("Drag Control") : QStringLiteral("Drag Joint"));
    }
  });
}

void TForm1::DragSpaceMouseMove(QPoint position) {
  RunReported(prompts_, [this, position] {
    if (!Dragging) return;
    const TPlaneList& list = DragIsControl ? PlaneControls : PlaneJoints;
    // A redraw between the press and this move may have shortened the list; the slot then holds
    // nothing and the drag rests until the release.
    if (DragSlot < 1 || DragSlot > list.Count) return;
    const int32_t index = list.Items[DragSlot];
    const TDragPoint pointer = PixelToDrag(position.x(), position.y());
    const TViewPlane plane = ViewPlane();
    if (DragIsControl) {
      TControlVertex& vertex = CurrentModel.Controls[index];
      vertex = WithDragCoordinates(vertex, plane, pointer);
      Label9->setText(StatusText(index, vertex));
    } else {
      const TControlVertex target =
          WithDragCoordinates(CurrentModel.Joints[index].Position, plane, pointer);
      MoveJoint(CurrentModel, index, target.X, target.Y, target.Z);
      Label9->setText(StatusText(index, CurrentModel.Joints[index].Position));
    }
    DrawTheDrag();
    DrawTheThing();
  });
}

void TForm1::DragSpaceMouseUp() {
  // From the press to the release, a drag is one step.
  if (Dragging) History->Record();
  Dragging = false;
  DragIsControl = false;
  DragSlot = 0;
}

}  // namespace morv
