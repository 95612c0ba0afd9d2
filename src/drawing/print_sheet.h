// The printed model sheet: a header and one axis plane of the model, drawn as a page image.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>

#include "drawing/drag_space_drawing.h"
#include "engine/model.h"

namespace morv {

// The sheet's client area at 96 pixels per inch, and where its diagram sits.
constexpr int SheetWidth = 617;
constexpr int SheetHeight = 1000;
constexpr int SheetDiagramLeft = 8;
constexpr int SheetDiagramTop = 128;
constexpr int SheetDiagramSize = 600;
constexpr int SheetPageCount = 3;

// The header, filled once per print command; named after the sheet's labels.
struct TPrintHeader {
  QString modelname;
  QString modelowner;
  QString modeldata;  // the statistics line
  QImage i3d;         // the 3D view's picture, shown stretched to 73 x 73
};

// The banner `Label1` shows.
QString SheetBanner();

// "Controls:" N " Béziers:" N " Joints:" N " = Points:" N " Polygons:" N " Render time:" text.
QString StatisticsLine(const TMorvObject& model, int32_t points, int32_t polygons,
                       const QString& renderTime);

TPrintHeader MakePrintHeader(const TMorvObject& model, const QImage& view, int32_t points,
                             int32_t polygons, const QString& renderTime);

// Pages 1, 2 and 3 show the planes x-y, y-z (z to the right) and x-z; "X-Y", "Y-Z", "X-Z".
TViewPlane SheetPlane(int page);
QString SheetPlaneText(int page);

// The diagram's fonts: Times New Roman italic 12 points for the axis letters, Arial 8 points for
// the numbers, both aliased.
QFont SheetAxisFont();
QFont SheetNumberFont();

// The 600 x 600 diagram of one plane: white, the silver cross and letters, then for each control
// vertex its square, number and the patch rows that start at it, then for each joint its square,
// number and reference lines, three pixels per model unit around the centre.
void DrawSheetDiagram(const TMorvObject& model, TViewPlane plane, QImage& diagram);

// The whole page image of page 1..3, SheetWidth x SheetHeight on white.
QImage DrawSheetPage(const TMorvObject& model, int page, const TPrintHeader& header);

}  // namespace morv
