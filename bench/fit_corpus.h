// The corpus the fitter's benchmark runs on: generated parts (fixed seed;
// noise scaled to the tolerance, so one corpus per tolerance) and the real
// runs read from the folder of text files described in
// /work/shared/fitcorpus/README.md (never copied into the project).
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "host/geometry.h"

namespace zu::bench {

struct FitRun {
  std::vector<XYZ> points;
};

struct FitPart {
  std::string name;
  std::vector<FitRun> runs;
  std::size_t points() const;
};

// Generated parts: circles and arcs of radii 0.05 to 5000 mm sampled by chord
// error and by fixed step, with and without noise of tolerance / 10;
// spirals; splines; letter outlines and tool paths of lines and arcs; zigzags,
// stars and corners that must stay lines; arcs in ZX and YZ; helices;
// degenerate runs (repeated points, two points, collinear, closed circles,
// a run in one place); circles past a full turn (1.1 to 3 turns);
// spirals sampled ever more densely; straight runs sampled every 0.1 um
// with noise of 0.5 to 1.5 times the tolerance.
std::vector<FitPart> GeneratedFitCorpus(double tolerance);

// One part per *.txt file of `folder` (sorted by name), named after it:
// runs of "x y z" lines separated by blank lines. Runs of fewer than two
// points are skipped. Sets `error` and returns nothing when the folder
// cannot be read or holds no such file; a line that is not three numbers is
// an error naming the file and line.
std::vector<FitPart> ReadFitCorpus(const std::string& folder, std::string& error);

// Inputs for timing at growing sizes: a circle of n points (radius 100, one
// turn), an Archimedean spiral of n points, a zigzag of n points whose teeth
// must stay lines.
std::vector<XYZ> TimingCircle(std::size_t n);
std::vector<XYZ> TimingSpiral(std::size_t n);
std::vector<XYZ> TimingZigzag(std::size_t n);
// Two turns of a circle of radius 25 in n points.
std::vector<XYZ> TimingTurns(std::size_t n);
// Five turns of a spiral (radius 20, 0.5 mm a turn) in about n points.
std::vector<XYZ> DenseSpiral(std::size_t n);
// n points 0.1 um apart along X, moved by up to `noise` within XY.
std::vector<XYZ> DenseNoisyLine(std::size_t n, double noise, std::mt19937& random);

}  // namespace zu::bench
