// The drag space picture: one axis plane of the model at one depth, and the lists of what lies in
// it.
#include "drawing/drag_space_drawing.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "drawing/line_places.h"
#include "drawing/number_glyphs.h"
#include "engine/patch_rows.h"
#include "platform/fonts.h"

namespace morv {

namespace {

// Texts further off the picture than this cannot reach into it: the widest, a four-digit number,
// is less than 30 pixels wide and the letters are less than 20 pixels high.
constexpr int64_t TextReach = 64;

using Wide = __int128;

// Lines up to this many steps find each step's offset by a multiplication: their numerators stay
// below 2^26 and their divisors below 2^14, so a reciprocal of 40 bits is exact and the products
// stay below 2^53.
constexpr int64_t ShortLine = 4096;
constexpr int ReciprocalBits = 40;

// Ceiling of n / d for d > 0.
template <typename T>
T CeilDiv(T n, T d) {
  return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

// A line split into its longer (major) and shorter (minor) axis.
struct TLineAxes {
  int64_t steps, minor, majorStep, minorStep, majorStart, minorStart, majorSize, minorSize;
};

// The steps of a line that fall inside the image, first to last (exclusive), and the minor offset
// and remainder of the first.
struct TLineRange {
  int64_t first, last, offset, remainder;
};

// Narrows the range to the steps inside the image; false when none is. T must hold products of
// two coordinates.
template <typename T>
bool ClipLine(const TLineAxes& a, TLineRange& range) {
  int64_t first = 0;
  int64_t last = a.steps;
  if (a.majorStep > 0) {
    first = std::max<int64_t>(first, -a.majorStart);
    last = std::min<int64_t>(last, a.majorSize - a.majorStart);
  } else {
    first = std::max<int64_t>(first, a.majorStart - a.majorSize + 1);
    last = std::min<int64_t>(last, a.majorStart + 1);
  }
  // The offsets that keep the minor coordinate inside the image: low..high.
  const int64_t low = a.minorStep > 0 ? -a.minorStart : a.minorStart - a.minorSize + 1;
  const int64_t high = a.minorStep > 0 ? a.minorSize - 1 - a.minorStart : a.minorStart;
  const T steps = a.steps;
  if (a.minor == 0) {
    if (low > 0 || high < 0) return false;
  } else {
    // offset(i) >= low  <=>  i >= (2 steps low - steps) / (2 minor), and
    // offset(i) <= high <=>  i <  (2 steps (high + 1) - steps) / (2 minor).
    const T twiceMinor = 2 * static_cast<T>(a.minor);
    const T fromLow = CeilDiv<T>(2 * steps * low - steps, twiceMinor);
    const T toHigh = CeilDiv<T>(2 * steps * (high + 1) - steps, twiceMinor);
    if (fromLow > first) first = fromLow >= last ? last : static_cast<int64_t>(fromLow);
    if (toHigh < last) last = toHigh <= first ? first : static_cast<int64_t>(toHigh);
  }
  if (first >= last) return false;
  const T start = 2 * static_cast<T>(first) * a.minor + steps;
  range = {first, last, static_cast<int64_t>(start / (2 * steps)),
           static_cast<int64_t>(start % (2 * steps))};
  return true;
}

int32_t Clamped(int64_t value, int32_t low, int32_t high) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, low, high));
}

int64_t PixelX(TDragPoint at) { return int64_t{DragSpaceOrigin} + at.H; }
int64_t PixelY(TDragPoint at) { return int64_t{DragSpaceOrigin} - at.V; }

// Markers and numbers of every element in the plane, in index order: a later one covers an
// earlier one at the same place.
template <typename PositionOf, typename WriteNumber>
void DrawElements(TPixelBuffer& pixels, WriteNumber writeNumber, int32_t count,
                  PositionOf positionOf, TViewPlane plane, int32_t level, uint32_t pixel,
                  TPlaneList& list, std::array<TDragPoint, MaxControls + 1>& where) {
  list.Count = 0;
  for (int32_t i = 1; i <= count; ++i) {
    const TControlVertex& position = positionOf(i);
    if (DepthCoordinate(position, plane) != level) continue;
    const TDragPoint at = DragCoordinates(position, plane);
    list.Items[++list.Count] = i;
    where[static_cast<std::size_t>(i)] = at;
    DragMarker(pixels, at, pixel);
    writeNumber(PixelX(at) + 2, PixelY(at) + 2, i);
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

QFont AliasedFont(QFont font) {
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QFont DragAxisFont() { return AliasedFont(PixelFont(QStringLiteral("Times New Roman"), 13, true)); }

QFont DragNumberFont() { return AliasedFont(PixelFont(QStringLiteral("Arial"), 8)); }

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

  // Step i paints major coordinate majorStart + majorStep i and minor coordinate
  // minorStart + minorStep offset(i), where offset(i) = floor((2 i minor + steps) / (2 steps)) is
  // i * minor / steps rounded half up. Both run monotonically, so the steps inside the image form
  // one range; only that range is walked, starting from the offset and remainder of its first step.
  TLineRange range{0, steps, 0, steps};
  const bool inside = x0 >= 0 && x0 < image.width && y0 >= 0 && y0 < image.height && x1 >= 0 &&
                      x1 < image.width && y1 >= 0 && y1 < image.height;
  if (!inside) {
    const TLineAxes axes{steps,      minor,      majorStep, minorStep,
                         majorStart, minorStart, majorSize, minorSize};
    // Products of two coordinates fit 64 bits for all but the farthest ends.
    constexpr int64_t Near = int64_t{1} << 28;
    const bool near = std::max({x0, -x0, y0, -y0, x1, -x1, y1, -y1}) < Near;
    if (!(near ? ClipLine<int64_t>(axes, range) : ClipLine<Wide>(axes, range))) return;
  }
  const int64_t first = range.first;
  const int64_t last = range.last;
  const int64_t offset = range.offset;
  int64_t remainder = range.remainder;
  const int64_t major = majorStart + majorStep * first;
  const int64_t minorAt = minorStart + minorStep * offset;
  const int64_t x = xMajor ? major : minorAt;
  const int64_t y = xMajor ? minorAt : major;
  uint32_t* at = image.bits + y * image.stride + x;
  const std::ptrdiff_t alongMajor = xMajor ? majorStep : majorStep * image.stride;
  const std::ptrdiff_t alongMinor = xMajor ? minorStep * image.stride : minorStep;
  const int64_t twiceSteps = 2 * steps;
  const int64_t twiceMinor = 2 * minor;
  if (steps <= ShortLine) {
    // offset(i) = floor(n / (2 steps)) with n = 2 i minor + steps, through a multiplication by the
    // rounded-up reciprocal, exact for every n of a line this short. The pixels no longer depend
    // on each other, so the processor overlaps them.
    const auto divisor = static_cast<uint64_t>(twiceSteps);
    const uint64_t reciprocal = ((uint64_t{1} << ReciprocalBits) + divisor - 1) / divisor;
    uint64_t n = static_cast<uint64_t>(twiceMinor * first + steps);
    const uint64_t base = static_cast<uint64_t>(offset);
    for (int64_t i = first; i < last; ++i) {
      const auto carried = static_cast<std::ptrdiff_t>(((n * reciprocal) >> ReciprocalBits) - base);
      at[carried * alongMinor] = pixel;
      at += alongMajor;
      n += static_cast<uint64_t>(twiceMinor);
    }
    return;
  }
  for (int64_t i = first; i < last; ++i) {
    *at = pixel;
    at += alongMajor;
    remainder += twiceMinor;
    if (remainder >= twiceSteps) {
      remainder -= twiceSteps;
      at += alongMinor;
    }
  }
}

void PixelMarker(TPixelBuffer& image, int64_t x, int64_t y, uint32_t pixel) {
  // From (x - 2, y - 2) to (x + 2, y + 2), right and bottom edges excluded.
  const int32_t right = image.width + 1;
  const int32_t bottom = image.height + 1;
  FillRectangle(image, Clamped(x - 2, -1, right), Clamped(y - 2, -1, bottom),
                Clamped(x + 2, -1, right), Clamped(y + 2, -1, bottom), pixel);
}

void DragMarker(TPixelBuffer& image, TDragPoint at, uint32_t pixel) {
  PixelMarker(image, PixelX(at), PixelY(at), pixel);
}

void DragText(QPainter& painter, int64_t x, int64_t y, const QString& text) {
  const QPaintDevice* device = painter.device();
  if (x < -TextReach || y < -TextReach || x >= device->width() || y >= device->height()) return;
  painter.drawText(QPointF(static_cast<qreal>(x),
                           static_cast<qreal>(y) + QFontMetricsF(painter.font()).ascent()),
                   text);
}

namespace {

TNumberGlyphs& NumberGlyphs() {
  static TNumberGlyphs glyphs(&DragNumberFont);
  return glyphs;
}

}  // namespace

void DrawPlaneGround(QImage& picture, TPixelBuffer& pixels, TViewPlane plane,
                     const QFont& axisFont) {
  FillRectangle(pixels, -1, -1, picture.width() + 1, picture.height() + 1, DragWhite);
  const int64_t c = picture.width() / 2;
  DragLine(pixels, c - 20, c, c + 20, c, DragSilver);
  DragLine(pixels, c, c - 20, c, c + 20, DragSilver);
  QPainter painter(&picture);
  painter.setFont(axisFont);
  painter.setPen(QColor::fromRgb(DragSilver));
  const bool zAcross = plane == TViewPlane::YZ;
  const bool zUp = plane == TViewPlane::XZ;
  DragText(painter, c + 18, c - 2, zAcross ? QStringLiteral("z") : QStringLiteral("x"));
  DragText(painter, c + 6, c - 30, zUp ? QStringLiteral("z") : QStringLiteral("y"));
}

void DrawDragSpace(const TMorvObject& model, TViewPlane plane, int32_t level, QImage& picture,
                   TPlaneList& controls, TPlaneList& joints) {
  // The pixels are taken before the painter opens: taking them detaches a picture that is shared,
  // and the painter must then write into the same detached pixels.
  TPixelBuffer pixels{reinterpret_cast<uint32_t*>(picture.bits()), picture.width(),
                      picture.height(), picture.bytesPerLine() / 4};

  DrawPlaneGround(picture, pixels, plane, DragAxisFont());

  // Where each in-plane element sits, by index; an index is in the plane when it is in its list,
  // which `inPlane` marks.
  std::array<TDragPoint, MaxControls + 1> controlAt{};
  std::array<TDragPoint, MaxJoints + 1> jointAt{};
  std::array<bool, MaxControls + 1> inPlane{};

  NumberGlyphs().Check();
  const int32_t controlCount = BoundedCount(model.ControlCount, MaxControls);
  DrawElements(
      pixels,
      [&](int64_t x, int64_t y, int32_t i) { NumberGlyphs().Draw(pixels, x, y, i, DragGrey); },
      controlCount, [&](int32_t i) -> const TControlVertex& { return model.Controls[i]; }, plane,
      level, DragBlack, controls, controlAt);

  const int32_t jointCount = BoundedCount(model.JointCount, MaxJoints);
  DrawElements(
      pixels,
      [&](int64_t x, int64_t y, int32_t j) { NumberGlyphs().Draw(pixels, x, y, j, DragRed); },
      jointCount, [&](int32_t j) -> const TControlVertex& { return model.Joints[j].Position; },
      plane, level, DragRed, joints, jointAt);

  for (int32_t s = 1; s <= controls.Count; ++s) {
    inPlane[static_cast<std::size_t>(controls.Items[s])] = true;
  }
  auto lies = [&](int32_t index) {
    return index >= 1 && index <= MaxControls && inPlane[static_cast<std::size_t>(index)];
  };
  std::array<int32_t, MaxControls + 1> controlPlace{};
  std::array<int32_t, MaxJoints + 1> jointPlace{};
  // Places of the listed elements, by element index.
  auto numberPlaces = [](const TPlaneList& list, const auto& at, auto& place) {
    return NumberPlaces(
        list.Count,
        [&](int32_t k) {
          const TDragPoint p = at[static_cast<std::size_t>(list.Items[k + 1])];
          return TPixelPoint{PixelX(p), PixelY(p)};
        },
        [&](int32_t k, int32_t number) {
          place[static_cast<std::size_t>(list.Items[k + 1])] = number;
        });
  };
  const int32_t controlPlaces = numberPlaces(controls, controlAt, controlPlace);
  const int32_t jointPlaces = numberPlaces(joints, jointAt, jointPlace);
  auto line = [&](TDragPoint from, TDragPoint to, uint32_t pixel) {
    DragLine(pixels, PixelX(from), PixelY(from), PixelX(to), PixelY(to), pixel);
  };

  // Every segment is black and every reference line red, each colour drawn after all of the
  // other's, so the picture is the union of a colour's lines whatever their order and however
  // often each is drawn: each patch's row pairs are visited once instead of every ordered pair of
  // in-plane vertices, and of lines with the same two end pixels only the first is drawn.
  if (model.PatchCount > 0 && controlPlaces > 0) {
    TDrawnPairs drawn(controlPlaces, controlPlaces);
    ForEachRowPair(model, [&](int32_t a, int32_t b) {
      if (!lies(a) || !lies(b)) return;
      const auto from = static_cast<std::size_t>(a);
      const auto to = static_cast<std::size_t>(b);
      if (drawn.First(controlPlace[from], controlPlace[to])) {
        line(controlAt[from], controlAt[to], DragBlack);
      }
    });
  }

  if (jointPlaces > 0 && controlPlaces > 0) {
    TDrawnPairs drawn(jointPlaces, controlPlaces);
    for (int32_t s = 1; s <= joints.Count; ++s) {
      const auto j = static_cast<std::size_t>(joints.Items[s]);
      const TJoint& joint = model.Joints[joints.Items[s]];
      const int32_t refs = BoundedCount(joint.RefCount, MaxJointRefs);
      for (int32_t k = 1; k <= refs; ++k) {
        const int32_t c = joint.ControlRefs[k];
        if (!lies(c)) continue;
        const auto to = static_cast<std::size_t>(c);
        if (drawn.First(jointPlace[j], controlPlace[to])) line(jointAt[j], controlAt[to], DragRed);
      }
    }
  }
}

}  // namespace morv
