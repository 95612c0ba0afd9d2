// Bicubic patch sets cut into ruled bands: exactness, the bands against the surface, the reported
// deviation, the limits, the facing, and the refusals.
#include "engine/bicubic_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/export_mesh.h"

namespace morv {
namespace {

// A patch of degrees du x dv whose point (i, j) is f(i / du, j / dv).
TBicubicPatch Patch(int32_t du, int32_t dv, const std::function<TVector3D(double, double)>& f) {
  TBicubicPatch patch{du, dv, {}};
  for (int32_t i = 0; i <= du; ++i) {
    for (int32_t j = 0; j <= dv; ++j) patch.Points.push_back(f(double(i) / du, double(j) / dv));
  }
  return patch;
}

// A sphere-like set: rows x cols bicubic patches whose nets stand on a sphere of radius 10.
std::vector<TBicubicPatch> Sphere(int rows, int cols) {
  std::vector<TBicubicPatch> patches;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      patches.push_back(Patch(3, 3, [&](double a, double b) {
        const double theta = M_PI * (r + a) / rows, phi = 2 * M_PI * (c + b) / cols;
        return TVector3D{10 * std::sin(theta) * std::cos(phi), 10 * std::cos(theta),
                         10 * std::sin(theta) * std::sin(phi)};
      }));
    }
  }
  return patches;
}

// The surface, evaluated here on its own: the tensor-product Bernstein sum of the source net.
TVector3D Surface(const TBicubicPatch& p, double u, double v) {
  static const double Binomial[4][4] = {{1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 1, 0}, {1, 3, 3, 1}};
  const auto bernstein = [](int n, int k, double t) {
    double w = Binomial[n][k];
    for (int e = 0; e < k; ++e) w *= t;
    for (int e = 0; e < n - k; ++e) w *= 1 - t;
    return w;
  };
  TVector3D s{0, 0, 0};
  for (int i = 0; i <= p.DU; ++i) {
    for (int j = 0; j <= p.DV; ++j) {
      const double w = bernstein(p.DU, i, u) * bernstein(p.DV, j, v);
      const TVector3D& q = p.Points[static_cast<std::size_t>(i * (p.DV + 1) + j)];
      s = {s.X + w * q.X, s.Y + w * q.Y, s.Z + w * q.Z};
    }
  }
  return s;
}

// A stored curve of a band (controls 1..4 or 5..8) at v.
TVector3D StoredCurve(const TMorvObject& m, const TBezierPatch& band, int first, double v) {
  const double s = 1 - v;
  const double w[4] = {s * s * s, 3 * s * s * v, 3 * s * v * v, v * v * v};
  TVector3D p{0, 0, 0};
  for (int k = 0; k < 4; ++k) {
    const TControlVertex& c = m.Controls[band.ControlIndex[first + k]];
    p = {p.X + w[k] * c.X, p.Y + w[k] * c.Y, p.Z + w[k] * c.Z};
  }
  return p;
}

double Distance(const TVector3D& a, const TVector3D& b) {
  return std::hypot(a.X - b.X, a.Y - b.Y, a.Z - b.Z);
}

TEST(BicubicImport, PatchesRuledAlreadyImportExactlyInOneBand) {
  const auto bulge = [](double a, double b) { return TVector3D{30 * a, 30 * b, 12 * b * (1 - b)}; };
  const auto bulgeU = [](double a, double b) {
    return TVector3D{30 * a, 30 * b, 12 * a * (1 - a)};
  };
  const struct {
    const char* name;
    TBicubicPatch patch;
  } cases[] = {{"bilinear", Patch(1, 1,
                                  [](double a, double b) {
                                    return TVector3D{a, b, a * b};
                                  })},
               {"ruled along u", Patch(1, 3, bulge)},
               {"ruled along v", Patch(3, 1, bulgeU)},
               {"flat bicubic", Patch(3, 3,
                                      [](double a, double b) {
                                        return TVector3D{a, b, 0};
                                      })},
               {"quadratic cylinder", Patch(2, 1, bulgeU)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TBicubicImport result = ImportBicubic({c.patch}, {});
    EXPECT_EQ(result.Model.PatchCount, 1);
    EXPECT_LT(result.DeviationBeforeRounding, 1e-9);
    EXPECT_LE(result.Deviation, 1.05 * std::sqrt(3.0) / 2 + 1e-9) << "rounding alone";
  }
}

// How far a band's ruling strays from the surface, 48 x 48 samples: the band is the surface's
// between t0 and t1 along the cuts, which run along u or (transposed) along v, its first edge the
// earlier or the later one; the closest of the four readings is the band's own.
double BandDeviation(const TMorvObject& m, const TBezierPatch& b, const TBicubicPatch& surface,
                     double t0, double t1) {
  double best = 1e300;
  for (const bool transposed : {false, true}) {
    for (const bool reversed : {false, true}) {
      double worst = 0;
      for (int a = 0; a <= 48; ++a) {
        for (int c = 0; c <= 48; ++c) {
          const double f = a / 48.0, v = c / 48.0;
          const TVector3D p1 = StoredCurve(m, b, 1, v), p2 = StoredCurve(m, b, 5, v);
          const TVector3D ruled{p1.X + f * (p2.X - p1.X), p1.Y + f * (p2.Y - p1.Y),
                                p1.Z + f * (p2.Z - p1.Z)};
          const double t = t0 + (t1 - t0) * (reversed ? 1 - f : f);
          worst = std::max(
              worst, Distance(ruled, transposed ? Surface(surface, v, t) : Surface(surface, t, v)));
        }
      }
      best = std::min(best, worst);
    }
  }
  return best;
}

TEST(BicubicImport, BandsFollowTheSurfaceAndTheDeviationBoundsADenserLook) {
  const std::vector<TBicubicPatch> sphere = Sphere(2, 4);
  for (const int32_t bands : {1, 2, 4, 8}) {
    SCOPED_TRACE(bands);
    TBicubicOptions options;
    options.Bands = bands;
    options.Scale = 9;  // radius 90
    const TBicubicImport result = ImportBicubic(sphere, options);
    const TMorvObject& m = result.Model;
    ASSERT_EQ(m.PatchCount, static_cast<int32_t>(sphere.size()) * bands);
    double densest = 0;
    for (std::size_t p = 0; p < sphere.size(); ++p) {
      TBicubicPatch placed = sphere[p];
      for (TVector3D& q : placed.Points) q = {9 * q.X, 9 * q.Y, 9 * q.Z};
      for (int32_t k = 0; k < bands; ++k) {
        const int32_t n = static_cast<int32_t>(p) * bands + k + 1;
        densest = std::max(densest, BandDeviation(m, m.Patches[n], placed, double(k) / bands,
                                                  double(k + 1) / bands));
      }
    }
    EXPECT_GE(result.Deviation, densest);
    EXPECT_LE(result.Deviation, 2 * densest);
    EXPECT_GT(result.DeviationBeforeRounding, 0);
  }
}

TEST(BicubicImport, WithoutACountTheBandsGoWhereTheSurfaceBendsUntilTheLimitsOrTheRounding) {
  // A flat patch beside a curved set: the flat one needs one band, the rest share the model.
  std::vector<TBicubicPatch> set = Sphere(2, 4);
  set.push_back(Patch(3, 3, [](double a, double b) { return TVector3D{20 * a, 20 * b, 30}; }));
  const struct {
    const char* name;
    double scale;
    bool limited;  // whether the model's vertices run out before the rulings reach the rounding
  } cases[] = {{"radius 10000", 1000, true}, {"radius 50", 5, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TBicubicOptions one, filled;
    one.Bands = 1;
    one.Scale = filled.Scale = c.scale;
    const TBicubicImport coarse = ImportBicubic(set, one);
    const TBicubicImport result = ImportBicubic(set, filled);
    EXPECT_LE(result.Model.PatchCount, MaxPatches);
    EXPECT_LE(result.Model.ControlCount, MaxControls);
    EXPECT_LT(result.Deviation, coarse.Deviation / 2);
    if (c.limited) {
      EXPECT_GT(result.Model.ControlCount, MaxControls - 40) << "the vertices are spent";
    } else {
      // Narrower bands would only crowd their rounded edges: the rounding is all that is left.
      EXPECT_LT(result.Model.ControlCount, MaxControls / 2);
      EXPECT_LT(result.DeviationBeforeRounding, 0.5);
    }
    // The flat patch, last in source order, kept one band of its own vertices.
    const TBezierPatch& last = result.Model.Patches[result.Model.PatchCount];
    const TBezierPatch& before = result.Model.Patches[result.Model.PatchCount - 1];
    for (int k = 1; k <= 8; ++k) {
      for (int d = 1; d <= 8; ++d) EXPECT_NE(last.ControlIndex[k], before.ControlIndex[d]);
    }
  }
}

// The unit normal of the source at (u, v): u's direction crossed with v's.
TVector3D SourceNormal(const TBicubicPatch& p, double u, double v) {
  const double h = 1e-4;
  const TVector3D a = Surface(p, u + h, v), b = Surface(p, u - h, v), c = Surface(p, u, v + h),
                  d = Surface(p, u, v - h);
  const TVector3D su{a.X - b.X, a.Y - b.Y, a.Z - b.Z}, sv{c.X - d.X, c.Y - d.Y, c.Z - d.Z};
  return {su.Y * sv.Z - su.Z * sv.Y, su.Z * sv.X - su.X * sv.Z, su.X * sv.Y - su.Y * sv.X};
}

TEST(BicubicImport, BandsFaceAsTheSourceAndFlipAndBothSidesTurnThem) {
  // Cut one way and the other: their normals point up, +z.
  const TBicubicPatch alongU = Patch(1, 3, [](double a, double b) {
    return TVector3D{40 * a, 40 * b, 8 * b * (1 - b)};
  });
  const TBicubicPatch alongV = Patch(3, 1, [](double a, double b) {
    return TVector3D{40 * a, 40 * b, 8 * a * (1 - a)};
  });
  ASSERT_GT(SourceNormal(alongU, 0.5, 0.5).Z, 0);
  for (const TBicubicPatch& patch : {alongU, alongV}) {
    for (const bool flip : {false, true}) {
      for (const bool both : {false, true}) {
        TBicubicOptions options;
        options.Flip = flip;
        options.BothSides = both;
        options.Scale = 2;
        const TBicubicImport result = ImportBicubic({patch}, options);
        ASSERT_EQ(result.Model.PatchCount, both ? 2 : 1);
        for (const TExportPatch& band : ExportPatches(result.Model)) {
          // The twin of both sides comes right after its band, turned the other way.
          const bool up = (band.Index == 2) != flip;
          for (const TExportFace& face : band.Faces) {
            for (const TExportTriangle& t : FaceTriangles(band, face)) {
              const TVector3D n =
                  FrontNormal(band.Points[t[0]], band.Points[t[1]], band.Points[t[2]]);
              EXPECT_EQ(n.Z > 0, up)
                  << "flip " << flip << " both " << both << " band " << band.Index;
            }
          }
        }
      }
    }
  }
}

TEST(BicubicImport, BadSetsAreRefusedNamingTheLine) {
  const struct {
    std::string text;
    std::string message;
  } files[] = {
      {"1\n4 3\n", "Line 2: a degree of 4 is outside 1..3"},
      {"1\n1 1\n0 0 0\n1 0 0\n0 1 0\n", "Line 6: the file ends where patch 1's point 4 of 4"},
      {"1\n1 1\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n1 1\n", "Line 7: the 1 patch the file counts"},
      {"1\n1 1\n0 0 0\n1 abc 0\n", "Line 4: 'abc' is not a finite number"},
      {"1\n1 1\n0 0 0\n1 nan 0\n", "Line 4: 'nan' is not a finite number"},
      {"1\n1 1\n0 0 0\n1 inf 0\n", "Line 4: 'inf' is not a finite number"},
      {"x\n", "Line 1: 'x' is not a finite number"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.text);
    TextLines lines;
    std::string line;
    for (const char c : f.text) {
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else {
        line += c;
      }
    }
    try {
      ReadBicubicPatches(lines);
      ADD_FAILURE() << "read";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(f.message), std::string::npos) << error.what();
    }
  }

  const TBicubicPatch unit = Patch(1, 1, [](double a, double b) { return TVector3D{a, b, 0}; });
  TBicubicOptions far;
  far.Scale = 1e12;
  EXPECT_THROW(ImportBicubic({unit}, far), ImportError);
  try {
    ImportBicubic(std::vector<TBicubicPatch>(2000, unit), {});
    ADD_FAILURE();
  } catch (const ImportError& error) {
    EXPECT_STREQ(error.what(), "2000 patches need at least 2000 bands; a model holds at most 1000");
  }
  // Patches apart from each other: 8 vertices each, 126 of them need 1008.
  std::vector<TBicubicPatch> apart;
  for (int k = 0; k < 126; ++k) {
    apart.push_back(Patch(1, 1, [k](double a, double b) {
      return TVector3D{10 * a + 30.0 * k, 10 * b, 0};
    }));
  }
  TBicubicOptions placed;
  placed.Scale = 1;
  EXPECT_THROW(ImportBicubic(apart, placed), ImportError);
  TBicubicOptions many;
  many.Bands = 9;
  EXPECT_THROW(ImportBicubic(std::vector<TBicubicPatch>(112, unit), many), ImportError);
}

}  // namespace
}  // namespace morv
