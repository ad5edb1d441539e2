// Polylines for tests, benchmarks and pictures of the fitter: arcs and
// circles sampled by chord error or by step, spirals, splines, letter
// outlines, zigzags and stars, helices; with noise on request. Everything is
// deterministic for a given random engine. Millimetres and radians.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

#include "host/geometry.h"

namespace zu::pathfit::shapes {

// How a curve is sampled: points at most `value` apart along it (kStep), or
// with chords no farther than `value` from it (kChordError).
struct Sampling {
  enum class Mode { kStep, kChordError };
  Mode mode = Mode::kChordError;
  double value = 0.001;
};

// An arc in the axis plane normal to `axis` (0 X, 1 Y, 2 Z) at the centre's
// height; angles are measured counter-clockwise about the positive axis in
// that plane's (u, v) = (y, z), (z, x) or (x, y); a negative sweep runs
// clockwise.
struct ArcShape {
  XYZ centre;
  double radius = 1;
  double start = 0;
  double sweep = 6.283185307179586;
  int axis = 2;
};

std::vector<XYZ> SampleArc(const ArcShape& arc, Sampling sampling);

// The point of the plane normal to `axis` at `height` with in-plane
// coordinates (u, v).
XYZ InPlane(double u, double v, int axis, double height);

// Moves every point but the first and the last by up to `amplitude` within
// the plane normal to `axis` (their height unchanged), uniformly over a disc.
void AddNoise(std::vector<XYZ>& points, double amplitude, int axis, std::mt19937& random);

// An Archimedean spiral in XY about the origin: radius r0 growing by `pitch`
// a turn, over `turns` turns, sampled by step along it.
std::vector<XYZ> Spiral(double r0, double pitch, double turns, double step);

// A helix about Z: radius, rise per turn, turns, sampled by step.
std::vector<XYZ> Helix(double radius, double rise, double turns, double step);

// A chain of `pieces` random cubic Bezier curves in XY within a square of
// side `size`, joined smoothly, each sampled at `per_piece` even parameters.
std::vector<XYZ> SplineChain(std::size_t pieces, double size, std::size_t per_piece,
                             std::mt19937& random);

// A zigzag along X: `teeth` teeth of the given pitch and height.
std::vector<XYZ> Zigzag(std::size_t teeth, double pitch, double height);

// A closed star polygon with `tips` tips between two radii.
std::vector<XYZ> Star(std::size_t tips, double outer, double inner);

// Outlines of letters, each a closed run of lines and arcs in XY (about
// `height` tall, left edge at x0), sampled by chord error. Letters known:
// O D S P B e.
std::vector<std::vector<XYZ>> LetterOutlines(const char* letters, double height, double x0,
                                             Sampling sampling);

// Lines and arcs chained tangent to one another, as a tool path: `pieces`
// pieces in XY, radii between r_min and r_max, sampled as asked.
std::vector<XYZ> ToolPath(std::size_t pieces, double r_min, double r_max, Sampling sampling,
                          std::mt19937& random);

}  // namespace zu::pathfit::shapes
