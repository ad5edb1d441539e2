// Five-axis path records of the text road: rows of points with tool axes
// become point-and-axis blocks, with the approach, link and retract moves
// between cutting stretches and a fixed feed type for each kind of move.
#include <memory>
#include <optional>

#include "pathinput/five_axis_copy.h"
#include "toolloc/path_records.h"
#include "toolloc/record_parts.h"

namespace zu {
namespace {

// Feed type codes of five-axis moves.
constexpr int kAcrossAtLinkHeight = 1;
constexpr int kToApproachPoint = 2;
constexpr int kOntoStretch = 3;
constexpr int kAlongStretch = 5;
constexpr int kBackOutAlongAxis = 8;
constexpr int kUpToLinkHeight = 9;

XYZ Plus(const XYZ& p, double d, const XYZ& v) {
  return {p.x + d * v.x, p.y + d * v.y, p.z + d * v.z};
}

// The same point raised along `v` to the height `z`.
XYZ RaisedTo(const XYZ& p, double z, const XYZ& v) {
  return Plus(p, z - p.z, v);
}

// The first point of `row` that is a path point, or -1.
int FirstPathPoint(const nc_row_5& row) {
  for (int i = 0; i <= row.last; ++i) {
    if (row.points[i].flag != kPointSkipped)
      return i;
  }
  return -1;
}

// The block stream of one five-axis path.
class FiveAxisStream {
 public:
  FiveAxisStream(ToolLocationRecords& out, TextRoadState& state, double safe, double link,
                 double approach)
      : out_(out), state_(state), safe_(safe), link_(link), approach_(approach) {}

  void Write(const nc_row_5* rows) {
    const nc_row_5* row = rows;
    int m = -1;
    for (; row && (m = FirstPathPoint(*row)) < 0; row = row->next) {
    }
    if (!row)
      return;  // no path point: nothing to move to
    const nc_point5& p0 = row->points[m];
    int state = p0.flag == kPointStretchEnd ? -1 : 0;
    XYZ r = p0.axis;
    int g = m;
    current_axis_ = p0.axis;
    const XYZ a = Plus(p0.point, approach_, p0.axis);
    Move(RaisedTo(a, safe_, p0.axis), p0.axis, kToApproachPoint);
    Move(a, p0.axis, kToApproachPoint);
    Move(p0.point, p0.axis, kOntoStretch);

    XYZ e;
    for (bool first_row = true; row; row = row->next, first_row = false) {
      const nc_point5* points = row->points;
      const int last = row->last;
      if (!first_row) {
        g = FirstPathPoint(*row);
        if (g < 0)
          continue;
        if (g == 0 && points[0].flag == kPointInner) {
          Move(points[0].point, points[0].axis, kOntoStretch);
          current_axis_ = points[0].axis;
        }
      }
      bool pending = false;
      for (int j = g; j <= last; ++j) {
        if (points[j].flag != kPointStretchEnd)
          continue;
        if (state == -1) {
          state = 0;  // the stretch's first point: P0, already written
        } else if (state == 0) {
          state = 1;
          pending = true;
          for (int k = g; k <= j; ++k)
            Cut(points[k]);
          e = points[j].point;
          r = points[j].axis;
        } else {
          // A link from the stretch that ended at E to the one starting at j.
          state = 0;
          pending = false;
          Move(e, current_axis_, std::nullopt);
          const XYZ x = Plus(e, approach_, r);
          Move(x, current_axis_, kBackOutAlongAxis);
          Move(RaisedTo(x, link_, r), r, kUpToLinkHeight);
          r = points[j].axis;
          const XYZ q = Plus(points[j].point, approach_, r);
          Move(RaisedTo(q, link_, r), r, kAcrossAtLinkHeight);
          Move(q, points[j].axis, kToApproachPoint);
          Move(points[j].point, points[j].axis, kOntoStretch);
          g = j;
          current_axis_ = points[j].axis;
        }
      }
      if (!pending) {
        for (int k = g; k <= last; ++k)
          Cut(points[k]);
        g = 0;
        r = points[last].axis;
      }
    }
    // The path ends where the tool is, the last point it moved to: the end of
    // the last stretch. (An end point remembered from an earlier link or row
    // would send the tool back across the part at cutting depth.)
    Move(last_point_, current_axis_, std::nullopt);
    Move(Plus(last_point_, approach_, r), current_axis_, kBackOutAlongAxis);
  }

 private:
  void Cut(const nc_point5& p) {
    Move(p.point, p.axis, kAlongStretch);
    current_axis_ = p.axis;
  }

  // One point-and-axis block unless it repeats the last one, then the feed
  // type when it changes (a dropped point drops it too).
  void Move(const XYZ& point, const XYZ& axis, std::optional<int> feed_type) {
    last_point_ = point;
    state_.axis_point_written = state_.axis_filter.Passes(point, axis);
    if (state_.axis_point_written) {
      Block block;
      block.type = BlockType::Line;
      block.end = ToVec3(point);
      block.end_vector = ToVec3(axis);
      out_.Block(block);
    }
    if (feed_type && state_.axis_point_written && *feed_type != state_.axis_feed_type) {
      state_.axis_feed_type = *feed_type;
      Block block;
      block.type = BlockType::FeedType;
      block.code = *feed_type;
      out_.Block(block);
    }
  }

  ToolLocationRecords& out_;
  TextRoadState& state_;
  double safe_;
  double link_;
  double approach_;
  XYZ current_axis_;
  XYZ last_point_;
};

}  // namespace

void WriteFiveAxisPath(ToolLocationRecords& out, const OrvoPath& path, TextRoadState& state) {
  const auto clone = MakeFiveAxisWorkingCopy(path);
  out.PathStart({clone->GetPathNameInTree(), state.tool_index++});
  // The home point is above the first point of the first row that has
  // points; a path without any point has neither a home point nor moves, and
  // its record ends here.
  const nc_row_5* first_row = clone->rows5;
  while (first_row && first_row->last < 0)
    first_row = first_row->next;
  if (!first_row) {
    out.EndSection();
    return;
  }
  const double safe = clone->five_safe_height;
  const double link = clone->five_link_height;
  const double approach = clone->five_approach_distance;
  const nc_point5& p = first_row->points[0];
  const XYZ home{p.point.x + approach * p.axis.x, p.point.y + approach * p.axis.y, safe};
  out.PathPlacement(PlacementOf(*clone, home));
  zu::MillKeys keys;
  keys.path_type = kPathTypeFiveAxis;
  keys.safe_height = safe;
  keys.safe_height_mode = clone->safe_height_mode;
  keys.approach_height = approach;
  keys.approach_height_mode = clone->approach_height_mode;
  keys.speed = clone->feed.spindle_speed;
  keys.feed = FeedLineOf(*clone);
  out.MillKeys(keys);
  if (clone->MultiAxisKind == kFiveAxis)
    FiveAxisStream(out, state, safe, link, approach).Write(clone->rows5);
}

}  // namespace zu
