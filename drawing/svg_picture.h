// A picture (picture.h) drawn in one view as an SVG file.
//
// One user unit of the file is one millimetre of the view's plane: a point
// projected to (u, v) stands at x = u, y = -v (SVG's y grows downwards),
// printed to 0.001 mm or finer, so a reader can take coordinates from the
// file as they are. Every move is one element of class "rapid" or "feed"
// (dashed or solid) inside its path's group (class "path", data-name its
// name): a <line> for a straight move, a <path> with SVG arc commands for an
// arc in a view where it is a circle (top for arcs about Z, and so on), a
// <polyline> within DrawOptions::arc_tolerance of it elsewhere. Holes,
// tool axes, marks, callouts, the legend, the scale bar and the box around
// the points each have a class of their own (drawing/README.md lists them).
// Texts use a generic font and then a CJK one, so Chinese names show.
#pragma once

#include <cstddef>
#include <string>

#include "drawing/picture.h"
#include "drawing/view.h"

namespace zu::draw {

struct DrawOptions {
  View view = View::kTop;
  // The largest distance of a sampled arc's chords from the arc, mm.
  double arc_tolerance = 0.01;
  // The drawing's largest size on the picture, pixels (the legend beside it).
  double width_px = 900;
  double height_px = 650;
};

// Coordinates farther than this from the origin (mm) are refused: they are
// no part of a machine's work, and their differences would lose the
// precision the picture is printed with.
inline constexpr double kLargestCoordinate = 1e9;

struct [[nodiscard]] SvgDrawing {
  // Always a whole SVG file: the drawing, or only a message saying why there
  // is nothing to draw.
  std::string svg;
  // Empty when the paths were drawn; otherwise the message the picture
  // shows ("no paths to draw", a coordinate that is not a number or too
  // large).
  std::string problem;
  std::size_t moves = 0;  // move elements drawn
};

SvgDrawing DrawSvg(const Picture& picture, const DrawOptions& options = {});

}  // namespace zu::draw
