// Pieces of path records taken from host paths, shared by the writers.
#pragma once

#include "host/path_model.h"
#include "toolloc_file/records.h"

namespace zu {

inline Vec3 ToVec3(const XYZ& p) {
  return {p.x, p.y, p.z};
}

// The origin and axes of a work coordinate system.
Frame FrameOf(const ncworkcoordinate& system);

// The tool list line of picked object `index`.
ToolEntry ToolEntryOf(int index, const OrvoPath& path);

// The head after "toolindex": home point, the path's work system and the
// host's stock box.
PathPlacement PlacementOf(const OrvoPath& path, const XYZ& home);

// The four feed values of the path's feed-rate record.
FeedLine FeedLineOf(const OrvoPath& path);

}  // namespace zu
