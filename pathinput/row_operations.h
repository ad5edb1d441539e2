// The row operations every writer shares: what a move's attributes and its
// path's parameter record say about feed, compensation and dwells, and the
// plane normal of an arc. They read host paths and never change them.
#pragma once

#include "host/geometry.h"
#include "host/path_model.h"

namespace zu {

// Feed type codes written for moves: the host's segment kind plus one, so
// that the rapid kind 9 is 1; kinds outside 1 to 9 give 5. A null move gives
// -1.
inline constexpr int kNoFeedType = -1;
inline constexpr int kFeedTypeRapid = 1;
int BlockFeedType(const tool_block* move);

// The compensation side of a milling path: 0 or 1, or kNoCompensation.
// Decided by the path kind from its parameter record (kinds 7, 50, 62, 63, 71
// and 90); every other kind, and a path without its record, has none.
inline constexpr int kNoCompensation = -3;
int CompensationSide(OrvoPath& path);

// How many compensation starts of a kind-62 path are passed over before one
// is written: the record's count when its skip switch is 1, else 0.
int CompensationSkipCount(OrvoPath& path);

// The dwell text of a kind-63 or kind-65 path ("paradwell"), or null for
// other kinds and paths without their record. Owned by the path.
const Text* DwellText(OrvoPath& path);

// Whether a kind-65 path dwells after `move`: attributes a 5 and b 2 with the
// record's dwell switch on.
bool DwellAfterKind65Move(OrvoPath& path, const tool_block& move);

// The source curves of one path, fetched from its geometry at most once, for
// the dwell checks; freed when the cache goes.
class SourceCurveCache {
 public:
  SourceCurveCache() = default;
  ~SourceCurveCache();
  SourceCurveCache(const SourceCurveCache&) = delete;
  SourceCurveCache& operator=(const SourceCurveCache&) = delete;

  // The first curve of `path`'s geometry, fetching them on the first call.
  const curvecmp* Curves(const OrvoPath& path);
  bool fetched() const { return fetched_; }

 private:
  curvecmp* first_ = nullptr;
  bool fetched_ = false;
};

// Whether a kind-63 path dwells before `move`: its dwell-before switch is 1,
// the move's attribute a is 2 or 4, its attribute c is above 0, and its start
// point lies within 0.001 of the start of one of the path's source curves.
// DwellAfterBlock is the same with the dwell-after switch and end points.
// A null move, another kind or a path without its record give false.
bool DwellBeforeBlock(const tool_block* move, SourceCurveCache& curves, OrvoPath& path);
bool DwellAfterBlock(const tool_block* move, SourceCurveCache& curves, OrvoPath& path);

// The normal of an arc's plane: (second - centre) x (third - centre), not
// normalised, negated when the sweep is negative or not a number.
XYZ ArcNormal(const nc_arc& arc);

}  // namespace zu
