// The corpus the fitter's benchmark runs on: generated parts (fixed seed;
// noise scaled to the tolerance, so one corpus per tolerance) and the real
// runs read from the folder of text files described in
// /work/shared/fitcorpus/README.md (never copied into the project).
#pragma once

#include <cstddef>
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
// a run in one place).
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

}  // namespace zu::bench
