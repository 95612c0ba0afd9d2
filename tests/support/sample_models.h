// Models for the benchmarks and the load test: a torus of patches and a flat sheet seen face-on.
#pragma once

#include <cmath>
#include <numbers>

#include "engine/model.h"

namespace morv::bench {

// A torus of ringSteps x tubeSteps patches on a grid of as many vertices (1000 patches fit the
// vertex capacity). Each patch is the band between two neighbouring tube circles over one step of
// the tube; about half of the surface faces any viewer.
inline TMorvObject TorusModel(int ringSteps, int tubeSteps, double ring = 60, double tube = 25) {
  TMorvObject m;
  m.Name = "Torus";
  const double du = 2 * std::numbers::pi / ringSteps;
  const double dv = 2 * std::numbers::pi / tubeSteps;
  for (int i = 0; i < ringSteps; ++i) {
    for (int j = 0; j < tubeSteps; ++j) {
      const double r = ring + tube * std::cos(j * dv);
      m.Controls[++m.ControlCount] = {static_cast<int32_t>(std::lround(r * std::cos(i * du))),
                                      static_cast<int32_t>(std::lround(tube * std::sin(j * dv))),
                                      static_cast<int32_t>(std::lround(r * std::sin(i * du)))};
    }
  }
  auto at = [&](int i, int j) { return (i % ringSteps) * tubeSteps + (j % tubeSteps) + 1; };
  for (int i = 0; i < ringSteps; ++i) {
    for (int j = 0; j < tubeSteps; ++j) {
      TBezierPatch& p = m.Patches[++m.PatchCount];
      // Doubled end points make each edge curve the straight step from one vertex to the next.
      const int curve[4] = {j, j, j + 1, j + 1};
      for (int k = 0; k < 4; ++k) p.ControlIndex[k + 1] = at(i, curve[k]);
      for (int k = 0; k < 4; ++k) p.ControlIndex[k + 5] = at(i + 1, curve[k]);
      p.Colour = 0x2080F0 + ((i * 31 + j * 17) & 0x3F);
    }
  }
  return m;
}

// patches flat strips in the plane z = 0, every polygon facing the viewer at the same depth: the
// worst case of the depth sort. A grid of 21 x 46 vertices holds 300 distinct strips; larger
// sheets repeat them.
inline TMorvObject FlatSheetModel(int patches) {
  TMorvObject m;
  m.Name = "Sheet";
  constexpr int Rows = 21, Columns = 46, Strips = (Columns - 1) / 3;
  for (int r = 0; r < Rows; ++r) {
    for (int c = 0; c < Columns; ++c) m.Controls[++m.ControlCount] = {c * 4 - 90, r * 8 - 80, 0};
  }
  auto at = [&](int r, int c) { return r * Columns + c + 1; };
  for (int n = 0; n < patches; ++n) {
    const int r = (n / Strips) % (Rows - 1);
    const int s = n % Strips;
    TBezierPatch& p = m.Patches[++m.PatchCount];
    for (int k = 0; k < 4; ++k) {
      p.ControlIndex[k + 1] = at(r + 1, 3 * s + k);  // the upper curve first faces the viewer
      p.ControlIndex[k + 5] = at(r, 3 * s + k);
    }
    p.Colour = 0x40C040;
  }
  return m;
}

}  // namespace morv::bench
