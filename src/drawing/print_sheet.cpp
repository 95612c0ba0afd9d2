// The printed model sheet: a header and one axis plane of the model, drawn as a page image.
#include "drawing/print_sheet.h"

#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

#include "drawing/line_places.h"
#include "drawing/number_glyphs.h"
#include "engine/patch_rows.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"

namespace morv {

namespace {

constexpr uint32_t SheetBlack = 0xFF000000u;
constexpr uint32_t SheetGrey = 0xFF808080u;
constexpr uint32_t SheetRed = 0xFFFF0000u;

// A model point's diagram pixel: three pixels per unit, the origin at the centre, v upwards.
TPixelPoint SheetPixel(const TControlVertex& point, TViewPlane plane) {
  const TDragPoint at = DragCoordinates(point, plane);
  constexpr int64_t Centre = SheetDiagramSize / 2;
  return {Centre + 3 * int64_t{at.H}, Centre - 3 * int64_t{at.V}};
}

TNumberGlyphs& NumberGlyphs() {
  static TNumberGlyphs glyphs(&SheetNumberFont);
  return glyphs;
}

// Numbers the distinct pixels of the points at[1..]: see NumberPlaces.
std::vector<int32_t> PlaceNumbers(const std::vector<TPixelPoint>& at, int32_t& count) {
  std::vector<int32_t> place(at.size(), 0);
  count = NumberPlaces(
      static_cast<int32_t>(at.size()) - 1,
      [&](int32_t k) { return at[static_cast<std::size_t>(k) + 1]; },
      [&](int32_t k, int32_t number) { place[static_cast<std::size_t>(k) + 1] = number; });
  return place;
}

// For each control vertex, the vertices its patch rows lead to: the second of every row pair
// (1-2, 2-3, 3-4, 5-6, 6-7, 7-8) whose first is that vertex, both within the model.
struct TRowTargets {
  std::vector<int32_t> first;  // targets of vertex i are targets[first[i]..first[i + 1])
  std::vector<int32_t> targets;
};

TRowTargets RowTargets(const TMorvObject& model, int32_t controls) {
  auto within = [&](int32_t index) { return index >= 1 && index <= controls; };
  TRowTargets rows;
  rows.first.assign(static_cast<std::size_t>(controls) + 2, 0);
  ForEachRowPair(model, [&](int32_t a, int32_t b) {
    if (within(a) && within(b)) ++rows.first[static_cast<std::size_t>(a) + 1];
  });
  for (std::size_t i = 1; i < rows.first.size(); ++i) rows.first[i] += rows.first[i - 1];
  rows.targets.resize(static_cast<std::size_t>(rows.first.back()));
  std::vector<int32_t> fill = rows.first;
  ForEachRowPair(model, [&](int32_t a, int32_t b) {
    if (within(a) && within(b)) {
      rows.targets[static_cast<std::size_t>(fill[static_cast<std::size_t>(a)]++)] = b;
    }
  });
  return rows;
}

}  // namespace

QString SheetBanner() { return QStringLiteral("Morv! 5 - Bézier Modeller model sheet"); }

QString StatisticsLine(const TMorvObject& model, int32_t points, int32_t polygons,
                       const QString& renderTime) {
  return QStringLiteral("Controls:") + QString::number(model.ControlCount) +
         QStringLiteral(" Béziers:") + QString::number(model.PatchCount) +
         QStringLiteral(" Joints:") + QString::number(model.JointCount) +
         QStringLiteral(" = Points:") + QString::number(points) + QStringLiteral(" Polygons:") +
         QString::number(polygons) + QStringLiteral(" Render time:") + renderTime;
}

TPrintHeader MakePrintHeader(const TMorvObject& model, const QImage& view, int32_t points,
                             int32_t polygons, const QString& renderTime) {
  return {FromModelText(model.Name), FromModelText(model.Owner),
          StatisticsLine(model, points, polygons, renderTime), view};
}

TViewPlane SheetPlane(int page) {
  switch (page) {
    case 2:
      return TViewPlane::YZ;
    case 3:
      return TViewPlane::XZ;
    default:
      return TViewPlane::XY;
  }
}

QString SheetPlaneText(int page) {
  switch (SheetPlane(page)) {
    case TViewPlane::YZ:
      return QStringLiteral("Y-Z");
    case TViewPlane::XZ:
      return QStringLiteral("X-Z");
    case TViewPlane::XY:
      break;
  }
  return QStringLiteral("X-Y");
}

QFont SheetAxisFont() {
  return AliasedFont(PixelFont(QStringLiteral("Times New Roman"), 16, true));
}

QFont SheetNumberFont() { return AliasedFont(PixelFont(QStringLiteral("Arial"), 11)); }

void DrawSheetDiagram(const TMorvObject& model, TViewPlane plane, QImage& diagram) {
  TPixelBuffer pixels{reinterpret_cast<uint32_t*>(diagram.bits()), diagram.width(),
                      diagram.height(), diagram.bytesPerLine() / 4};
  DrawPlaneGround(diagram, pixels, plane, SheetAxisFont());
  NumberGlyphs().Check();

  const int32_t controls = BoundedCount(model.ControlCount, MaxControls);
  std::vector<TPixelPoint> at(static_cast<std::size_t>(controls) + 1);
  for (int32_t i = 1; i <= controls; ++i) {
    at[static_cast<std::size_t>(i)] = SheetPixel(model.Controls[i], plane);
  }
  int32_t controlPlaces = 0;
  const std::vector<int32_t> place = PlaceNumbers(at, controlPlaces);
  auto line = [&](TPixelPoint from, TPixelPoint to, uint32_t pixel) {
    DragLine(pixels, from.X, from.Y, to.X, to.Y, pixel);
  };

  // A control vertex's square and number come before its row lines, and the next vertex's after
  // them, so each vertex is one step; within it every line is black and one line per end pixel is
  // enough. `drawnBy` holds, per place, the last vertex that drew a line to it.
  const TRowTargets rows = RowTargets(model, controls);
  std::vector<int32_t> drawnBy(at.size(), 0);
  for (int32_t i = 1; i <= controls; ++i) {
    const auto from = static_cast<std::size_t>(i);
    PixelMarker(pixels, at[from].X, at[from].Y, SheetBlack);
    NumberGlyphs().Draw(pixels, at[from].X + 2, at[from].Y + 2, i, SheetGrey);
    for (int32_t t = rows.first[from]; t < rows.first[from + 1]; ++t) {
      const auto to = static_cast<std::size_t>(rows.targets[static_cast<std::size_t>(t)]);
      int32_t& mark = drawnBy[static_cast<std::size_t>(place[to])];
      if (mark == i) continue;
      mark = i;
      line(at[from], at[to], SheetBlack);
    }
  }

  // Squares, numbers and lines of the joints are all red, so their order does not change the
  // picture: of the lines between the same two pixels only the first is drawn.
  const int32_t joints = BoundedCount(model.JointCount, MaxJoints);
  std::vector<TPixelPoint> jointAt(static_cast<std::size_t>(joints) + 1);
  for (int32_t j = 1; j <= joints; ++j) {
    jointAt[static_cast<std::size_t>(j)] = SheetPixel(model.Joints[j].Position, plane);
  }
  int32_t jointPlaces = 0;
  const std::vector<int32_t> jointPlace = PlaceNumbers(jointAt, jointPlaces);
  TDrawnPairs drawn(jointPlaces, controlPlaces);
  for (int32_t j = 1; j <= joints; ++j) {
    const TJoint& joint = model.Joints[j];
    const TPixelPoint from = jointAt[static_cast<std::size_t>(j)];
    PixelMarker(pixels, from.X, from.Y, SheetRed);
    NumberGlyphs().Draw(pixels, from.X + 2, from.Y + 2, j, SheetRed);
    const int32_t refs = BoundedCount(joint.RefCount, MaxJointRefs);
    const int32_t row = jointPlace[static_cast<std::size_t>(j)];
    for (int32_t r = 1; r <= refs; ++r) {
      const int32_t c = joint.ControlRefs[r];
      if (c < 1 || c > controls) continue;
      const auto to = static_cast<std::size_t>(c);
      if (drawn.First(row, place[to])) line(from, at[to], SheetRed);
    }
  }
}

QImage DrawSheetPage(const TMorvObject& model, int page, const TPrintHeader& header) {
  QImage sheet(SheetWidth, SheetHeight, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  {
    // The diagram is drawn in place: a picture over the sheet's own pixels, clipped to its area.
    const qsizetype row = sheet.bytesPerLine();
    QImage diagram(sheet.bits() + SheetDiagramTop * row + SheetDiagramLeft * 4, SheetDiagramSize,
                   SheetDiagramSize, row, QImage::Format_RGB32);
    DrawSheetDiagram(model, SheetPlane(page), diagram);
  }

  QPainter painter(&sheet);
  if (!header.i3d.isNull()) painter.drawImage(QRect(8, 8, 73, 73), header.i3d);
  painter.setPen(Qt::black);
  // The header's text is plain pixels too, as everything on the page.
  const QFont arial = AliasedFont(PixelFont(QStringLiteral("Arial"), 11));
  QFont arialBlack = AliasedFont(PixelFont(QStringLiteral("Arial Black"), 19));
  arialBlack.setWeight(QFont::Black);
  painter.setFont(arial);
  DragText(painter, 88, 8, SheetBanner());
  painter.setFont(arialBlack);
  DragText(painter, 88, 32, header.modelname);
  painter.setFont(arial);
  DragText(painter, 88, 64, header.modelowner);
  DragText(painter, 8, 88, header.modeldata);
  painter.setFont(AliasedFont(PixelFont(QStringLiteral("MS Sans Serif"), 11)));
  DragText(painter, 8, 104, SheetPlaneText(page));
  return sheet;
}

}  // namespace morv
