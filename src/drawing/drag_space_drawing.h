// The drag space picture: one axis plane of the model at one depth, and the lists of what lies in
// it.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>

#include "engine/model.h"
#include "engine/one_based_array.h"
#include "engine/pixel_buffer.h"

namespace morv {

// Indices of the elements lying in the drag space's plane, in ascending order. Every element of
// a kind can lie in the plane at once, so the list holds as many as the model can.
struct TPlaneList {
  int32_t Count = 0;
  OneBasedArray<int32_t, MaxControls> Items;
};
static_assert(MaxJoints <= MaxControls, "a plane list must hold every joint too");

// Which two model coordinates the drag space shows to the right (h) and upwards (v); the third
// is the depth.
enum class TViewPlane { XY, YZ, XZ };

// A point in drag-space coordinates: h to the right, v upwards, the plane origin at pixel
// (100, 100), one pixel per model unit.
struct TDragPoint {
  int32_t H = 0;
  int32_t V = 0;
  friend bool operator==(const TDragPoint&, const TDragPoint&) = default;
};

constexpr int32_t DragSpaceSize = 200;
constexpr int32_t DragSpaceOrigin = 100;

TDragPoint DragCoordinates(const TControlVertex& point, TViewPlane plane);
int32_t DepthCoordinate(const TControlVertex& point, TViewPlane plane);
// The point with its two in-plane coordinates replaced and its depth kept.
TControlVertex WithDragCoordinates(const TControlVertex& point, TViewPlane plane, TDragPoint at);
// The drag-space coordinates a pixel of the picture stands for.
TDragPoint PixelToDrag(int32_t px, int32_t py);

// Pixel values (0xffRRGGBB) of the drag space's colours.
constexpr uint32_t DragWhite = 0xFFFFFFFFu;
constexpr uint32_t DragSilver = 0xFFC0C0C0u;
constexpr uint32_t DragGrey = 0xFF808080u;
constexpr uint32_t DragBlack = 0xFF000000u;
constexpr uint32_t DragRed = 0xFFFF0000u;

// The font drawing plain pixels: a line, a marker and a number each paint exactly one colour.
QFont AliasedFont(QFont font);

// The axis letters' font (Times New Roman italic, 10 points) and the numbers' font (Arial,
// 6 points), at the 96 pixels per inch the window layout is made for.
QFont DragAxisFont();
QFont DragNumberFont();

// A 1-pixel line from (x0, y0) towards (x1, y1) that stops one pixel short of its end point, so
// lines drawn end to end never paint their joints twice. Bresenham steps along the longer axis,
// with the other coordinate rounded half away from the start. Clipped to the image; any
// coordinates are safe and cost no more than the visible part.
void DragLine(TPixelBuffer& image, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel);

// A 4x4 marker of an element centred on pixel (x, y), clipped to the image; any coordinates are
// safe.
void PixelMarker(TPixelBuffer& image, int64_t x, int64_t y, uint32_t pixel);

// The 4x4 marker of an element at drag-space point `at`, centred on its pixel.
void DragMarker(TPixelBuffer& image, TDragPoint at, uint32_t pixel);

// Text with its top-left corner at (x, y) in the painter's font and pen, on a transparent
// background.
void DragText(QPainter& painter, int64_t x, int64_t y, const QString& text);

// The ground of a square plane picture: white, a silver cross 40 pixels wide and high at its
// centre, and the plane's axis letters beside it in `axisFont`. `pixels` are the picture's.
void DrawPlaneGround(QImage& picture, TPixelBuffer& pixels, TViewPlane plane,
                     const QFont& axisFont);

// Repaints the whole picture from the model: white, the axis cross and letters, the markers and
// numbers of the control vertices and joints whose depth equals `level`, then the patches' row
// segments and the joints' reference lines between them. Refills both lists while it draws.
void DrawDragSpace(const TMorvObject& model, TViewPlane plane, int32_t level, QImage& picture,
                   TPlaneList& controls, TPlaneList& joints);

}  // namespace morv
