// Bicubic Bézier patch sets cut into the model's ruled bands between two cubic curves.
#include "engine/bicubic_import.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <queue>
#include <sstream>
#include <string>
#include <tuple>

#include "engine/errors.h"

namespace morv {

namespace {

using TGrid = std::array<std::array<TVector3D, 4>, 4>;  // [along the cuts][along the edges]
using TCurve = std::array<TVector3D, 4>;

TVector3D operator+(const TVector3D& a, const TVector3D& b) {
  return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}
TVector3D operator-(const TVector3D& a, const TVector3D& b) {
  return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}
TVector3D operator*(double s, const TVector3D& a) { return {s * a.X, s * a.Y, s * a.Z}; }
double Length(const TVector3D& a) { return std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z); }

std::string LineText(std::size_t line) { return "Line " + std::to_string(line) + ": "; }

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

double Number(const std::string& word, std::size_t line) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || end != word.c_str() + word.size() || !std::isfinite(value) ||
      errno == ERANGE) {
    throw ConversionError(LineText(line) + "'" + word + "' is not a finite number");
  }
  return value;
}

int32_t WholeNumber(const std::string& word, std::size_t line) {
  const double value = Number(word, line);
  if (value != std::floor(value) || value < 0 || value > 1e9) {
    throw ConversionError(LineText(line) + "'" + word + "' is not a whole number");
  }
  return static_cast<int32_t>(value);
}

// Raises a control polygon by one degree, exactly.
std::vector<TVector3D> Elevated(const std::vector<TVector3D>& p) {
  const auto n = static_cast<double>(p.size() - 1);
  std::vector<TVector3D> q(p.size() + 1);
  q.front() = p.front();
  q.back() = p.back();
  for (std::size_t i = 1; i < p.size(); ++i) {
    const double a = static_cast<double>(i) / (n + 1);
    q[i] = a * p[i - 1] + (1 - a) * p[i];
  }
  return q;
}

std::vector<TVector3D> Cubic(std::vector<TVector3D> p) {
  while (p.size() < 4) p = Elevated(p);
  return p;
}

// The patch raised to bicubic, as grid[i][j] with i along u and j along v.
TGrid Bicubic(const TBicubicPatch& patch) {
  std::vector<std::vector<TVector3D>> rows;  // each of the DU + 1 rows raised along v
  for (int32_t i = 0; i <= patch.DU; ++i) {
    std::vector<TVector3D> row;
    for (int32_t j = 0; j <= patch.DV; ++j) {
      row.push_back(patch.Points[static_cast<std::size_t>(i * (patch.DV + 1) + j)]);
    }
    rows.push_back(Cubic(row));
  }
  TGrid grid;
  for (int j = 0; j < 4; ++j) {
    std::vector<TVector3D> column;
    for (const auto& row : rows) column.push_back(row[static_cast<std::size_t>(j)]);
    const std::vector<TVector3D> raised = Cubic(column);
    for (int i = 0; i < 4; ++i) grid[i][j] = raised[static_cast<std::size_t>(i)];
  }
  return grid;
}

TVector3D CurvePoint(const TCurve& c, double t) {
  const double s = 1 - t;
  return (s * s * s) * c[0] + (3 * s * s * t) * c[1] + (3 * s * t * t) * c[2] + (t * t * t) * c[3];
}

// The isoparametric curve at `t` along the cuts: de Casteljau down each column of the net.
TCurve Edge(const TGrid& grid, double t) {
  TCurve edge;
  for (int j = 0; j < 4; ++j) {
    edge[j] = CurvePoint({grid[0][j], grid[1][j], grid[2][j], grid[3][j]}, t);
  }
  return edge;
}

TVector3D SurfacePoint(const TGrid& grid, double t, double v) {
  return CurvePoint(Edge(grid, t), v);
}

TGrid Transposed(const TGrid& grid) {
  TGrid t;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) t[i][j] = grid[j][i];
  }
  return t;
}

TControlVertex Rounded(const TVector3D& p) {
  return {static_cast<int32_t>(std::lround(p.X)), static_cast<int32_t>(std::lround(p.Y)),
          static_cast<int32_t>(std::lround(p.Z))};
}

TVector3D Unrounded(const TControlVertex& c) { return {double(c.X), double(c.Y), double(c.Z)}; }

struct VertexOrder {
  bool operator()(const TControlVertex& a, const TControlVertex& b) const {
    return std::tie(a.X, a.Y, a.Z) < std::tie(b.X, b.Y, b.Z);
  }
};

// One source patch as it is cut: its net in model units with the cuts along the first index, and
// whether the first curve of a band is its later edge, so that the band faces as the source does.
struct TCutPatch {
  TGrid Grid;
  bool LaterEdgeFirst = false;
  int32_t Bands = 1;
  double OneBandError = 0;
};

constexpr int Steps = 16;  // samples a band each way when measuring

// The largest distance between the surface and a band's ruling on a grid of samples, with the
// band's edges as given.
double BandError(const TGrid& grid, double t0, double t1, const TCurve& a, const TCurve& b) {
  double worst = 0;
  for (int m = 0; m <= Steps; ++m) {
    const double f = static_cast<double>(m) / Steps;
    const double t = t0 + (t1 - t0) * f;
    for (int n = 0; n <= Steps; ++n) {
      const double v = static_cast<double>(n) / Steps;
      const TVector3D ruled = (1 - f) * CurvePoint(a, v) + f * CurvePoint(b, v);
      worst = std::max(worst, Length(SurfacePoint(grid, t, v) - ruled));
    }
  }
  return worst;
}

double OneBandError(const TGrid& grid) {
  return BandError(grid, 0, 1, Edge(grid, 0), Edge(grid, 1));
}

std::vector<TControlVertex> EdgeVertices(const TCutPatch& patch) {
  std::vector<TControlVertex> vertices;
  for (int32_t k = 0; k <= patch.Bands; ++k) {
    for (const TVector3D& p : Edge(patch.Grid, static_cast<double>(k) / patch.Bands)) {
      vertices.push_back(Rounded(p));
    }
  }
  return vertices;
}

const int32_t Palette[] = {0x3C78DC, 0x50B450, 0xDCB43C, 0x3C3CC8,
                           0xC878C8, 0x78C8DC, 0xA0A0A0, 0x2890F0};

std::string Count(int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<TBicubicPatch> ReadBicubicPatches(const TextLines& lines) {
  std::size_t next = 0;
  // The next line that holds anything, and its number.
  const auto take =
      [&](const std::string& wanted) -> std::pair<std::vector<std::string>, std::size_t> {
    while (next < lines.size()) {
      std::vector<std::string> words = Words(lines[next]);
      ++next;
      if (!words.empty()) return {words, next};
    }
    throw FormatError(LineText(lines.size() + 1) + "the file ends where " + wanted +
                      " should follow");
  };
  const auto [countWords, countLine] = take("the patch count");
  if (countWords.size() != 1) {
    throw FormatError(LineText(countLine) + "the first line must hold the patch count alone");
  }
  const int32_t count = WholeNumber(countWords[0], countLine);
  std::vector<TBicubicPatch> patches;
  for (int32_t p = 1; p <= count; ++p) {
    const auto [degrees, degreeLine] = take("patch " + std::to_string(p) + "'s degrees");
    if (degrees.size() != 2) {
      throw FormatError(LineText(degreeLine) + "patch " + std::to_string(p) +
                        " must begin with its two degrees \"DU DV\"");
    }
    TBicubicPatch patch;
    patch.DU = WholeNumber(degrees[0], degreeLine);
    patch.DV = WholeNumber(degrees[1], degreeLine);
    for (const int32_t degree : {patch.DU, patch.DV}) {
      if (degree < 1 || degree > 3) {
        throw FormatError(LineText(degreeLine) + "a degree of " + std::to_string(degree) +
                          " is outside 1..3");
      }
    }
    const int32_t points = (patch.DU + 1) * (patch.DV + 1);
    for (int32_t k = 0; k < points; ++k) {
      const auto [xyz, pointLine] = take("patch " + std::to_string(p) + "'s point " +
                                         std::to_string(k + 1) + " of " + std::to_string(points));
      if (xyz.size() != 3) {
        throw FormatError(LineText(pointLine) + "a point must be three numbers \"x y z\"");
      }
      patch.Points.push_back(
          {Number(xyz[0], pointLine), Number(xyz[1], pointLine), Number(xyz[2], pointLine)});
    }
    patches.push_back(std::move(patch));
  }
  while (next < lines.size()) {
    if (!Words(lines[next]).empty()) {
      throw FormatError(LineText(next + 1) + "the " + Count(count, "patch", "patches") +
                        " the file counts end before this line");
    }
    ++next;
  }
  return patches;
}

TBicubicImport ImportBicubic(const std::vector<TBicubicPatch>& patches,
                             const TBicubicOptions& options) {
  TBicubicImport result;
  result.SourcePatches = static_cast<int32_t>(patches.size());
  const int64_t sides = options.BothSides ? 2 : 1;
  const int64_t leastBands = static_cast<int64_t>(patches.size()) * sides;
  if (patches.empty()) throw ImportError("The set holds no patches");
  if (leastBands > MaxPatches) {
    throw ImportError(Count(static_cast<int64_t>(patches.size()), "patch", "patches") +
                      " need at least " + std::to_string(leastBands) +
                      " bands; a model holds at most " + std::to_string(MaxPatches));
  }
  if (options.Bands && (*options.Bands < 1 || int64_t{*options.Bands} * leastBands > MaxPatches)) {
    throw ImportError(std::to_string(*options.Bands) + " bands a patch make " +
                      std::to_string(int64_t{*options.Bands} * leastBands) +
                      " bands; a model holds at most " + std::to_string(MaxPatches));
  }

  std::vector<TGrid> grids;
  for (const TBicubicPatch& patch : patches) grids.push_back(Bicubic(patch));

  // Placement: the surface's own extent, sampled, unless a scale is given.
  double scale = options.Scale.value_or(1.0);
  TVector3D offset = options.Offset;
  if (!options.Scale) {
    TVector3D low{INFINITY, INFINITY, INFINITY}, high{-INFINITY, -INFINITY, -INFINITY};
    for (const TGrid& grid : grids) {
      for (int m = 0; m <= Steps; ++m) {
        for (int n = 0; n <= Steps; ++n) {
          const TVector3D p = SurfacePoint(grid, double(m) / Steps, double(n) / Steps);
          low = {std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z)};
          high = {std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z)};
        }
      }
    }
    const double half = std::max({high.X - low.X, high.Y - low.Y, high.Z - low.Z}) / 2;
    scale = half > 0 ? 90 / half : 1;
    offset = (-scale) * (0.5 * (low + high));
  }
  constexpr double Limit = 2147483647.0;
  for (TGrid& grid : grids) {
    for (auto& row : grid) {
      for (TVector3D& p : row) {
        p = scale * p + offset;
        if (!(std::abs(p.X) <= Limit && std::abs(p.Y) <= Limit && std::abs(p.Z) <= Limit)) {
          throw ImportError("The coordinates would pass the 32-bit range once placed");
        }
      }
    }
  }

  // Each patch is cut across the direction whose rulings follow the surface best: a patch
  // ruled already is exact in one band.
  std::vector<TCutPatch> cuts;
  for (const TGrid& grid : grids) {
    const TGrid across = Transposed(grid);
    TCutPatch cut;
    const double alongU = OneBandError(grid), alongV = OneBandError(across);
    // The band's front is its curve direction crossed with the way from its first curve to its
    // second; the source's is u crossed with v.
    if (alongU <= alongV) {
      cut = {grid, true, 1, alongU};
    } else {
      cut = {across, false, 1, alongV};
    }
    if (options.Flip) cut.LaterEdgeFirst = !cut.LaterEdgeFirst;
    cut.Bands = options.Bands.value_or(1);
    cuts.push_back(cut);
  }

  std::map<TControlVertex, int32_t, VertexOrder> uses;
  const auto add = [&](const TCutPatch& cut, int delta) {
    for (const TControlVertex& v : EdgeVertices(cut)) {
      if ((uses[v] += delta) == 0) uses.erase(v);
    }
  };
  for (const TCutPatch& cut : cuts) add(cut, 1);
  if (std::ssize(uses) > MaxControls) {
    throw ImportError(Count(static_cast<int64_t>(patches.size()), "patch", "patches") +
                      (options.Bands ? " in " + std::to_string(*options.Bands) + " bands" : "") +
                      " need " + std::to_string(uses.size()) +
                      " control vertices; a model holds at most " + std::to_string(MaxControls));
  }
  int64_t bandCount = 0;
  for (const TCutPatch& cut : cuts) bandCount += cut.Bands * sides;

  // Without a count, more bands go where a band's error is largest; it shrinks with the square
  // of the band's width. Below a quarter of a unit the rounding of the vertices outweighs it, and
  // narrower bands only crowd their rounded edges together: a patch that close keeps its bands.
  constexpr double Enough = 0.25;
  if (!options.Bands) {
    using Entry = std::pair<double, std::size_t>;
    std::priority_queue<Entry> worst;
    for (std::size_t p = 0; p < cuts.size(); ++p) {
      if (cuts[p].OneBandError > Enough) worst.push({cuts[p].OneBandError, p});
    }
    while (!worst.empty() && bandCount + sides <= MaxPatches) {
      const std::size_t p = worst.top().second;
      worst.pop();
      add(cuts[p], -1);
      ++cuts[p].Bands;
      add(cuts[p], 1);
      if (std::ssize(uses) > MaxControls) {
        add(cuts[p], -1);
        --cuts[p].Bands;
        add(cuts[p], 1);
        continue;  // this patch cannot take another band; others may
      }
      bandCount += sides;
      const double bands = cuts[p].Bands;
      const double estimate = cuts[p].OneBandError / (bands * bands);
      if (estimate > Enough) worst.push({estimate, p});
    }
  }

  // The model: vertices in the order the bands first name them.
  TMorvObject& model = result.Model;
  model.Name = "MyObject";
  std::map<TControlVertex, int32_t, VertexOrder> number;
  const auto vertex = [&](const TVector3D& p) {
    const TControlVertex c = Rounded(p);
    const auto [at, added] = number.emplace(c, model.ControlCount + 1);
    if (added) model.Controls[++model.ControlCount] = c;
    return at->second;
  };
  for (std::size_t p = 0; p < cuts.size(); ++p) {
    const TCutPatch& cut = cuts[p];
    const int32_t colour =
        options.ColourPerPatch ? Palette[p % std::size(Palette)] : options.Colour;
    for (int32_t k = 0; k < cut.Bands; ++k) {
      const double t0 = double(k) / cut.Bands, t1 = double(k + 1) / cut.Bands;
      const TCurve early = Edge(cut.Grid, t0), late = Edge(cut.Grid, t1);
      TBezierPatch band;
      band.Colour = colour;
      const TCurve& first = cut.LaterEdgeFirst ? late : early;
      const TCurve& second = cut.LaterEdgeFirst ? early : late;
      for (int c = 0; c < 4; ++c) {
        band.ControlIndex[c + 1] = vertex(first[c]);
        band.ControlIndex[c + 5] = vertex(second[c]);
      }
      model.Patches[++model.PatchCount] = band;
      if (options.BothSides) {
        TBezierPatch twin = band;
        for (int c = 1; c <= 4; ++c) std::swap(twin.ControlIndex[c], twin.ControlIndex[c + 4]);
        model.Patches[++model.PatchCount] = twin;
      }
      // Measured on the edges as stored, and as computed.
      TCurve storedEarly, storedLate;
      for (int c = 0; c < 4; ++c) {
        storedEarly[c] = Unrounded(Rounded(early[c]));
        storedLate[c] = Unrounded(Rounded(late[c]));
      }
      result.Deviation =
          std::max(result.Deviation, BandError(cut.Grid, t0, t1, storedEarly, storedLate));
      result.DeviationBeforeRounding =
          std::max(result.DeviationBeforeRounding, BandError(cut.Grid, t0, t1, early, late));
    }
  }
  // The samples miss what lies between them; a margin makes the figure a bound of a denser look.
  result.Deviation *= 1.05;
  result.DeviationBeforeRounding *= 1.05;
  return result;
}

std::string ImportSummary(const TBicubicImport& result) {
  char deviation[64];
  std::snprintf(deviation, sizeof deviation, "%.2f", result.Deviation);
  return Count(result.SourcePatches, "patch", "patches") + " → " +
         Count(result.Model.PatchCount, "band", "bands") + ", " +
         Count(result.Model.ControlCount, "control vertex", "control vertices") +
         ", largest deviation " + deviation;
}

}  // namespace morv
