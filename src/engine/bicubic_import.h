// Bicubic Bézier patch sets (BPT text: a patch count, then per patch "DU DV" and (DU + 1) x
// (DV + 1) lines "x y z") cut into the model's ruled bands between two cubic curves.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "engine/line_text.h"
#include "engine/model.h"
#include "engine/vector_types.h"

namespace morv {

// A source patch of degrees 1..3 each way: Points[i * (DV + 1) + j] is control point (i, j), i
// along the first parameter u and j along the second, v.
struct TBicubicPatch {
  int32_t DU = 3;
  int32_t DV = 3;
  std::vector<TVector3D> Points;
};

// A set that cannot be imported: it does not fit the model's limits, or its coordinates would pass
// 32 bits once placed. The text carries no final full stop.
class ImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads BPT lines. ConversionError for a value that is not a finite number and FormatError for a
// degree outside 1..3 or a count that does not match the lines that follow, each naming the line.
std::vector<TBicubicPatch> ReadBicubicPatches(const TextLines& lines);

struct TBicubicOptions {
  // Bands a patch; none: as many as the limits allow, where the surface bends most.
  std::optional<int32_t> Bands;
  // model = Scale x source + Offset, then rounded; without a scale the model is centred on the
  // origin and its largest half-extent made 90.
  std::optional<double> Scale;
  TVector3D Offset{0, 0, 0};
  bool Flip = false;
  bool BothSides = false;
  // One colour for every band, or one a source patch from a fixed palette.
  int32_t Colour = 0xC8C8C8;
  bool ColourPerPatch = false;
};

struct TBicubicImport {
  TMorvObject Model;
  int32_t SourcePatches = 0;
  // The largest distance, in model units, between the surface and the bands as stored (rounded),
  // sampled densely with a margin so that it bounds what a denser sampling finds; and the same
  // for the bands before their vertices were rounded.
  double Deviation = 0;
  double DeviationBeforeRounding = 0;
};

// The model of the patches: each cut along one parameter into bands whose edges are the patch's
// own isoparametric cubic curves, neighbouring bands sharing their edge's vertices and equal
// rounded vertices stored once. ImportError when the set does not fit.
TBicubicImport ImportBicubic(const std::vector<TBicubicPatch>& patches,
                             const TBicubicOptions& options);

// "32 patches → 288 bands, 905 control vertices, largest deviation 0.61".
std::string ImportSummary(const TBicubicImport& result);

}  // namespace morv
