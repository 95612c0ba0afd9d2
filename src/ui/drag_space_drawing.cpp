// The drag space picture: one axis plane of the model at one depth, and the lists of what lies in
// it.
#include "ui/drag_space_drawing.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>

#include "platform/fonts.h"

namespace morv {

namespace {

// Texts further off the picture than this cannot reach into it: the widest, a four-digit number,
// is less than 30 pixels wide and the letters are 13 pixels high.
constexpr int64_t TextReach = 64;

int32_t Clamped(int64_t value, int32_t low, int32_t high) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, low, high));
}

int64_t PixelX(TDragPoint at) { return int64_t{DragSpaceOrigin} + at.H; }
int64_t PixelY(TDragPoint at) { return int64_t{DragSpaceOrigin} - at.V; }

// Counts as they may come from a damaged file, held to what the arrays can hold.
int32_t Bounded(int32_t count, int32_t capacity) { return std::clamp(count, 0, capacity); }

// Markers and numbers of every element in the plane, in index order: a later one covers an
// earlier one at the same place.
template <typename PositionOf>
void DrawElements(TPixelBuffer& pixels, QPainter& painter, int32_t count, PositionOf positionOf,
                  TViewPlane plane, int32_t level, uint32_t pixel, TPlaneList& list,
                  std::array<TDragPoint, MaxControls + 1>& where) {
  list.Count = 0;
  for (int32_t i = 1; i <= count; ++i) {
    const TControlVertex& position = positionOf(i);
    if (DepthCoordinate(position, plane) != level) continue;
    const TDragPoint at = DragCoordinates(position, plane);
    list.Items[++list.Count] = i;
    where[static_cast<std::size_t>(i)] = at;
    DragMarker(pixels, at, pixel);
    DragText(painter, PixelX(at) + 2, PixelY(at) + 2, QString::number(i));
  }
}

}  // namespace

TDragPoint DragCoordinates(const TControlVertex& point, TViewPlane plane) {
  switch (plane) {
    case TViewPlane::YZ:
      return {point.Z, point.Y};
    case TViewPlane::XZ:
      return {point.X, point.Z};
    case TViewPlane::XY:
      break;
  }
  return {point.X, point.Y};
}

int32_t DepthCoordinate(const TControlVertex& point, TViewPlane plane) {
  switch (plane) {
    case TViewPlane::YZ:
      return point.X;
    case TViewPlane::XZ:
      return point.Y;
    case TViewPlane::XY:
      break;
  }
  return point.Z;
}

TControlVertex WithDragCoordinates(const TControlVertex& point, TViewPlane plane, TDragPoint at) {
  switch (plane) {
    case TViewPlane::YZ:
      return {point.X, at.V, at.H};
    case TViewPlane::XZ:
      return {at.H, point.Y, at.V};
    case TViewPlane::XY:
      break;
  }
  return {at.H, at.V, point.Z};
}

TDragPoint PixelToDrag(int32_t px, int32_t py) {
  return {px - DragSpaceOrigin, DragSpaceOrigin - py};
}

QFont DragAxisFont() { return PixelFont(QStringLiteral("Times New Roman"), 13, true); }

QFont DragNumberFont() { return PixelFont(QStringLiteral("Arial"), 8); }

void DragLine(TPixelBuffer& image, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const int64_t majorDelta = xMajor ? dx : dy;
  const int64_t minorDelta = xMajor ? dy : dx;
  const int64_t steps = majorDelta < 0 ? -majorDelta : majorDelta;
  const int64_t minor = minorDelta < 0 ? -minorDelta : minorDelta;
  if (steps == 0) return;
  const int64_t majorStep = majorDelta < 0 ? -1 : 1;
  const int64_t minorStep = minorDelta < 0 ? -1 : 1;
  const int64_t majorStart = xMajor ? x0 : y0;
  const int64_t minorStart = xMajor ? y0 : x0;
  const int64_t majorSize = xMajor ? image.width : image.height;
  const int64_t minorSize = xMajor ? image.height : image.width;

  // Only the steps whose major coordinate falls inside the image are walked.
  int64_t first = 0;
  int64_t last = steps;  // exclusive: the end point is not drawn
  if (majorStep > 0) {
    first = std::max<int64_t>(first, -majorStart);
    last = std::min<int64_t>(last, majorSize - majorStart);
  } else {
    first = std::max<int64_t>(first, majorStart - majorSize + 1);
    last = std::min<int64_t>(last, majorStart + 1);
  }
  if (first >= last) return;

  // At step i the minor offset is floor((2 i minor + steps) / (2 steps)): i * minor / steps
  // rounded half up. The first step's offset is computed directly, wide enough for any int32
  // ends; then it is carried from step to step.
  const __int128 start = static_cast<__int128>(2) * first * minor + steps;
  int64_t offset = static_cast<int64_t>(start / (2 * static_cast<__int128>(steps)));
  int64_t remainder = static_cast<int64_t>(start % (2 * static_cast<__int128>(steps)));
  const int64_t twiceSteps = 2 * steps;
  const int64_t twiceMinor = 2 * minor;
  for (int64_t i = first; i < last; ++i) {
    const int64_t m = majorStart + majorStep * i;
    const int64_t n = minorStart + minorStep * offset;
    if (n >= 0 && n < minorSize) {
      const int64_t x = xMajor ? m : n;
      const int64_t y = xMajor ? n : m;
      image.bits[y * image.stride + x] = pixel;
    }
    remainder += twiceMinor;
    if (remainder >= twiceSteps) {
      remainder -= twiceSteps;
      ++offset;
    }
  }
}

void DragMarker(TPixelBuffer& image, TDragPoint at, uint32_t pixel) {
  // From (h + 98, 98 - v) to (h + 102, 102 - v), right and bottom edges excluded.
  const int64_t x = PixelX(at);
  const int64_t y = PixelY(at);
  const int32_t reach = DragSpaceSize + 1;
  FillRectangle(image, Clamped(x - 2, -1, reach), Clamped(y - 2, -1, reach),
                Clamped(x + 2, -1, reach), Clamped(y + 2, -1, reach), pixel);
}

void DragText(QPainter& painter, int64_t x, int64_t y, const QString& text) {
  const QPaintDevice* device = painter.device();
  if (x < -TextReach || y < -TextReach || x >= device->width() || y >= device->height()) return;
  painter.drawText(QPointF(static_cast<qreal>(x),
                           static_cast<qreal>(y) + QFontMetricsF(painter.font()).ascent()),
                   text);
}

void DrawDragSpace(const TMorvObject& model, TViewPlane plane, int32_t level, QImage& picture,
                   TPlaneList& controls, TPlaneList& joints) {
  // The pixels are taken before the painter opens: taking them detaches a picture that is shared,
  // and the painter must then write into the same detached pixels.
  TPixelBuffer pixels{reinterpret_cast<uint32_t*>(picture.bits()), picture.width(),
                      picture.height(), picture.bytesPerLine() / 4};
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBackgroundMode(Qt::TransparentMode);

  FillRectangle(pixels, -1, -1, DragSpaceSize + 1, DragSpaceSize + 1, DragWhite);

  DragLine(pixels, 80, 100, 120, 100, DragSilver);
  DragLine(pixels, 100, 80, 100, 120, DragSilver);
  painter.setFont(DragAxisFont());
  painter.setPen(QColor::fromRgb(DragSilver));
  const bool zAcross = plane == TViewPlane::YZ;
  const bool zUp = plane == TViewPlane::XZ;
  DragText(painter, 118, 98, zAcross ? QStringLiteral("z") : QStringLiteral("x"));
  DragText(painter, 106, 70, zUp ? QStringLiteral("z") : QStringLiteral("y"));

  // Where each in-plane element sits, by index; an index is in the plane when it is in its list,
  // which `inPlane` marks.
  std::array<TDragPoint, MaxControls + 1> controlAt{};
  std::array<TDragPoint, MaxJoints + 1> jointAt{};
  std::array<bool, MaxControls + 1> inPlane{};

  const int32_t controlCount = Bounded(model.ControlCount, MaxControls);
  painter.setFont(DragNumberFont());
  painter.setPen(QColor::fromRgb(DragGrey));
  DrawElements(
      pixels, painter, controlCount,
      [&](int32_t i) -> const TControlVertex& { return model.Controls[i]; }, plane, level,
      DragBlack, controls, controlAt);

  const int32_t jointCount = Bounded(model.JointCount, MaxJoints);
  painter.setPen(QColor::fromRgb(DragRed));
  DrawElements(
      pixels, painter, jointCount,
      [&](int32_t j) -> const TControlVertex& { return model.Joints[j].Position; }, plane, level,
      DragRed, joints, jointAt);
  painter.end();

  for (int32_t s = 1; s <= controls.Count; ++s)
    inPlane[static_cast<std::size_t>(controls.Items[s])] = true;
  auto lies = [&](int32_t index) {
    return index >= 1 && index <= MaxControls && inPlane[static_cast<std::size_t>(index)];
  };
  auto line = [&](TDragPoint from, TDragPoint to, uint32_t pixel) {
    DragLine(pixels, PixelX(from), PixelY(from), PixelX(to), PixelY(to), pixel);
  };

  // Every segment is black and every reference line red, each drawn after all of the other
  // colour's, so the picture is the union of the lines of a colour whatever their order: each
  // patch's in-plane row pairs are visited once instead of every ordered pair of vertices.
  constexpr int32_t RowStarts[] = {1, 2, 3, 5, 6, 7};
  const int32_t patchCount = Bounded(model.PatchCount, MaxPatches);
  for (int32_t p = 1; p <= patchCount; ++p) {
    const TBezierPatch& patch = model.Patches[p];
    for (std::size_t k = 0; k < std::size(RowStarts); ++k) {
      const int32_t a = patch.ControlIndex[RowStarts[k]];
      const int32_t b = patch.ControlIndex[RowStarts[k] + 1];
      if (!lies(a) || !lies(b)) continue;
      // A pair the patch repeats is one line.
      bool repeated = false;
      for (std::size_t e = 0; e < k && !repeated; ++e) {
        repeated =
            patch.ControlIndex[RowStarts[e]] == a && patch.ControlIndex[RowStarts[e] + 1] == b;
      }
      if (!repeated)
        line(controlAt[static_cast<std::size_t>(a)], controlAt[static_cast<std::size_t>(b)],
             DragBlack);
    }
  }

  for (int32_t s = 1; s <= joints.Count; ++s) {
    const int32_t j = joints.Items[s];
    const TJoint& joint = model.Joints[j];
    const int32_t refs = Bounded(joint.RefCount, MaxJointRefs);
    for (int32_t k = 1; k <= refs; ++k) {
      const int32_t c = joint.ControlRefs[k];
      if (lies(c))
        line(jointAt[static_cast<std::size_t>(j)], controlAt[static_cast<std::size_t>(c)], DragRed);
    }
  }
}

}  // namespace morv
