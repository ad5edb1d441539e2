// The host's path optimiser: replaces a run of straight moves by as few lines
// and arcs as the tolerance allows (the fitter of pathfit/fit.h). Its limits
// are set once per post command and hold for every fit until set again:
// arcs have min_arc_radius <= radius <= max_arc_radius (defaults 0.01 and
// 9999), and no element is shorter than the minimum section line (default
// 1e-7; points closer than that are merged). Lengths in millimetres.
#pragma once

#include "host/geometry.h"
#include "host/host_api.h"
#include "host/path_model.h"

ZUHOST_API void PathOptSetMaxArcRadius(double radius);
ZUHOST_API void PathOptSetMinArcRadius(double radius);
ZUHOST_API void PathOptSetMinSectionLine(double precision);

// Fits the polyline through points[0] to points[count - 1] within
// `tolerance` and hangs the result after `holder` as new moves: holder->next
// becomes the first of them, and the last one's next is what followed holder
// before. Each move is NcNewRow()'s with
// - for a line: kind 1 (kMoveLine), NcNewLineGeom(1) holding its start and
//   end point;
// - for an arc: kind 2 (kMoveArc), host_byte_a1 245, and an nc_arc: centre;
//   second = centre + 10 towards the start; third = centre + 10 a quarter
//   turn counter-clockwise about the arc's normal from that; fourth = the
//   start; end; radius; sweep (positive, counter-clockwise about the normal).
//   The normal, (second - centre) x (third - centre) (length 100), is +-X,
//   +-Y or +-Z: every arc lies in a plane parallel to XY, ZX or YZ.
// The first move starts exactly at points[0], the last ends exactly at
// points[count - 1], each ends exactly where the next starts. The moves are
// freed with the rest of the chain (NcFreeRows).
// Returns 0 on success. Nonzero, with nothing hung and holder unchanged:
// 1 a null argument or count < 2; 2 a coordinate or the tolerance is not a
// usable number, or the limits contradict it (minimum section line not below
// half the tolerance); 3 no element can stand for the run (all its points
// within the minimum section line of each other): the caller keeps its moves;
// 4 out of memory.
ZUHOST_API int PathOptRun(const XYZ* points, int count, double tolerance, tool_block* holder);

// The move an element of the list PathOptRun hangs after its holder stands
// for. The elements are the moves themselves, so this gives `element` back
// (null for null); its kind is the element's: 1 line, 2 arc.
ZUHOST_API tool_block* NcRowOf(tool_block* element);

// The optimiser as an object: points are set one by one, then fitted, then
// the elements read one by one. Made by CreateObject, freed by FreeObject
// (or through the virtual destructor); one object per thread at a time.
//
// The virtual operations are called by their position in the table, so
// their order below is fixed: destructor, Prepare, SetPoint, PointCount,
// SetLimits, ElementCount, Run, NextElement. New ones go at the end.
class ZUHOST_API CPathOptimize {
 public:
  static CPathOptimize* CreateObject();
  static void FreeObject(CPathOptimize* object);

  virtual ~CPathOptimize();
  // Makes room for `point_count` points (all unset) and forgets any earlier
  // fit. `reserved` is not used. A negative count is taken as 0.
  virtual void Prepare(int point_count, int reserved) = 0;
  // Sets point `index` (0 to point_count - 1; others are ignored). Callers
  // that pass each move's start and end (2k points for k moves) may repeat a
  // point: consecutive equal points count as one.
  virtual void SetPoint(int index, double x, double y, double z) = 0;
  // The number of points Prepare made room for.
  virtual int PointCount() const = 0;
  // Limits for this object's fits, instead of the host's (PathOptSet...).
  virtual void SetLimits(double min_arc_radius, double max_arc_radius, double min_section_line) = 0;
  // The number of elements of the last successful Run (0 before or after a
  // failed one).
  virtual int ElementCount() const = 0;
  // Fits the points within `tolerance`. Consecutive points closer than
  // `epsilon` (or the minimum section line, whichever is larger, as long as it
  // stays below half the tolerance) are taken as one. `reserved` is not used.
  // Returns the number of elements (at least 1), or 0 when nothing can be
  // fitted: fewer than two points, a point never set, a value not usable, or
  // all points in one place. Reading starts again from the first element.
  virtual int Run(double tolerance, double reserved, double epsilon) = 0;
  // Delivers the next element of the last Run and returns its number (1 for
  // the first), or returns 0 when all have been delivered (the arguments are
  // then left as they are). Lines: kind 0, centre and normal zero. Arcs:
  // kind 1, the centre, the unit normal (+-X, +-Y or +-Z) about which the arc
  // runs counter-clockwise from start to end (sweep below a full turn);
  // `radius` gets the arc's radius (0 for lines).
  virtual int NextElement(XYZ& start, XYZ& end, XYZ& centre, XYZ& normal, double& radius,
                          int& kind) = 0;
};
