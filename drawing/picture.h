// What a picture of tool paths holds, before it is drawn: per path its
// straight moves and arcs, holes, tool axes and small marks, and callouts
// (circled places with a label) over all of them. Coordinates are
// millimetres in one frame, the frame the caller chose (the document's or
// the machine's); the views of view.h look at that frame. The model owns
// nothing outside itself and knows nothing of the host or the post
// processor: adapters fill it.
#pragma once

#include <string>
#include <vector>

namespace zu::draw {

struct Point {
  double x = 0;
  double y = 0;
  double z = 0;
};

// A straight move, or an arc about `centre` turning `sweep` radians from
// `from` to `to`, counter-clockwise about the unit `normal` where the sweep
// is positive, clockwise where it is negative (|sweep| up to 2 pi: a full
// turn ends where it starts). An arc whose end lies off the start's plane
// is a helix: it rises evenly along the normal.
struct Move {
  enum class Kind { kLine, kArc };
  Kind kind = Kind::kLine;
  bool rapid = false;  // drawn dashed; feeds are solid
  Point from;
  Point to;
  Point centre;  // kArc
  Point normal;  // kArc
  double sweep = 0;
};

// A hole: a marker at its top, a line down to its bottom, and a label with
// its depth (top.z - bottom).
struct Hole {
  Point top;
  double bottom = 0;
};

// The tool's axis at a point of a five-axis path (any length; drawn as a
// short stroke from the point along it, a few at intervals).
struct ToolAxis {
  Point at;
  Point axis;
};

// A small mark at a point: where compensation starts or ends, a dwell, or
// a point of the path itself (a dot in the path's colour).
struct Mark {
  enum class Kind { kCompensationOn, kCompensationOff, kDwell, kPoint };
  Kind kind = Kind::kDwell;
  Point at;
};

// One path of the picture: a colour of its own and a line in the legend.
struct Trace {
  std::string name;        // UTF-8; any bytes are drawn safely
  std::string colour;      // "#rrggbb"; empty: the next of the palette
  double stroke_px = 1.4;  // the line's width on the picture
  std::vector<Move> moves;
  std::vector<Hole> holes;
  std::vector<ToolAxis> axes;
  std::vector<Mark> marks;
};

// A place circled on top of everything, with a label beside the circle
// (a deviation and its size). The circle encloses the points from `low` to
// `high` (a box) and is never smaller than a few pixels.
struct Callout {
  Point low;
  Point high;
  std::string label;  // UTF-8
};

struct Picture {
  std::string title;  // UTF-8, printed above the drawing
  std::vector<Trace> traces;
  std::vector<Callout> callouts;
  // Lines printed under the legend (what the picture shows, counts).
  std::vector<std::string> notes;
};

}  // namespace zu::draw
