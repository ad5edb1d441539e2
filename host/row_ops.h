// The host's operations on paths, rows and moves.
#pragma once

#include <cstdint>

#include "host/geometry.h"
#include "host/host_api.h"
#include "host/path_model.h"

// Makes paths of a kind. The host holds one factory; it is never freed.
class ZUHOST_API PathFactory {
 public:
  // Whether CreatePath makes paths of `kind`.
  virtual bool Supports(int kind) const;
  // A new, empty five-axis path, owned by the caller.
  virtual OrvoPath* CreateFiveAxisPath();
  // A new, empty path of `kind`, owned by the caller: kind 67 gives a
  // drilling path (an OrvoDrillPath), every other kind a milling OrvoPath2d
  // with that PathKind.
  virtual OrvoPath2d* CreatePath(int kind);

 protected:
  ~PathFactory() = default;
};
ZUHOST_API void HostGetPathFactory(PathFactory*& out);

// A new move with the host's default fields and no geometry.
ZUHOST_API tool_block* NcNewRow();
// New line geometry: `count` pairs of tls records (start, end), set flags 1.
ZUHOST_API tls* NcNewLineGeom(int count);
// New arc geometry, all zero.
ZUHOST_API nc_arc* NcNewArcGeom();
// Frees the chain of moves starting at `first`, with their geometry.
ZUHOST_API void NcFreeRows(tool_block* first);
// Frees the chain of rows starting at `first`, with their moves.
ZUHOST_API void NcFreeToolRows(tool_row* first);
// A deep copy of the chain of rows starting at `first`.
ZUHOST_API tool_row* NcCopyToolRows(const tool_row* first);

// The start and end point of a move: a line's two points; an arc's start
// (fourth) and end point. A move without geometry gives (0, 0, 0) twice.
ZUHOST_API void HostGetHomePoint(const tool_block* move, XYZ& start, XYZ& end);
// Distance between two points.
ZUHOST_API double NcPointDistance(const XYZ& a, const XYZ& b);

// A new path equal to `path` with every move point (line ends; arc centre,
// axis points, start and end) mapped through `matrix`. An arc's radius is
// kept; its sweep changes sign when the matrix mirrors. The source geometry
// node is copied unchanged. Owned by the caller.
ZUHOST_API OrvoPath* HostCopyPathByMatrix(const OrvoPath* path, const TRANSF& matrix);

// Maps every move point of the rows from `first` on through `matrix`, as
// HostCopyPathByMatrix does for a copy.
ZUHOST_API void NcTransformRows(tool_row* first, const TRANSF& matrix);

// Frees the chain of five-axis rows starting at `first`.
ZUHOST_API void NcFreeRows5(nc_row_5* first);
// A deep copy of five-axis rows.
ZUHOST_API nc_row_5* NcCopyRows5(const nc_row_5* first);
// Five-axis rows resampled for output: a copy of the rows starting at
// `first` in which no row holds more than `max_points` points (at least 2).
// A longer row is split into consecutive rows that share their boundary
// point; points, axes and flags are kept exactly. Owned by the caller.
ZUHOST_API nc_row_5* NcResampleRows5(const nc_row_5* first, int max_points);

// Segment kinds: 9 rapid; 2, 3, 4, 5, 7 feed classes.
inline constexpr int kSegmentRapid = 9;
// A segment kind to a move's attributes: a = the kind, b = 0; c is left as
// the caller preset it (callers preset 0, 0, 7).
ZUHOST_API void SegKindToAttrs(int kind, int& a, int& b, int& c);
// A move's attributes back to its segment kind: with b = 0 the kind is a;
// other values of b leave `kind` as the caller preset it.
ZUHOST_API void SegAttrsToKind(int a, int b, int c, int& kind);
