#include "toolloc/record_parts.h"

#include <algorithm>

namespace zu {

Frame FrameOf(const ncworkcoordinate& system) {
  return {ToVec3(system.origin), ToVec3(system.x_axis), ToVec3(system.y_axis),
          ToVec3(system.z_axis)};
}

ToolEntry ToolEntryOf(int index, const OrvoPath& path) {
  const tool& t = path.Tool;
  ToolEntry entry;
  entry.index = index;
  entry.name = t.name.str();
  std::replace(entry.name.begin(), entry.name.end(), ',', ' ');
  entry.integer1 = t.int1;
  entry.integer2 = t.int2;
  entry.dimension1 = t.dims[0];
  entry.dimension2 = t.dims[1];
  entry.dimension3 = t.dims[2];
  entry.dimension5 = t.dims[4];
  entry.dimension6 = t.dims[5];
  entry.dimension7 = t.dims[6];
  return entry;
}

PathPlacement PlacementOf(const OrvoPath& path, const XYZ& home) {
  return {ToVec3(home), FrameOf(path.wcs), ToVec3(g_roughblock.corner), ToVec3(g_roughblock.size)};
}

FeedLine FeedLineOf(const OrvoPath& path) {
  return {path.feed.feed_a, path.feed.feed_b, path.feed.feed_c, path.feed.feed_d};
}

}  // namespace zu
