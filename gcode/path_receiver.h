// What the G-code interpreter produces: the operations of the CAM host's path
// builder, called in the order of the code. The host's code reader
// (zureader.dll) forwards them to the plug-in; the tests record them.
//
// Units and frame. Every coordinate is in millimetres (inch programs are
// converted), absolute, in the NC work frame: the programmed position plus
// the active work offset (G54 to G59 and the like, whose values the NC-system
// description gives; zero unless it says otherwise). Positions programmed in
// machine coordinates (G53) are sent as programmed; those programmed in a
// tilted working plane (G68.2, CYCLE800) are sent turned into the work
// frame. Feed rates are in millimetres per minute, spindle speeds in
// revolutions per minute, times in seconds.
//
// Order. A path is opened by NextPath(n) and StartPath(), followed by the
// tool and technology state known at that point (SetToolInteger1,
// SetToolName, SetToolDimension1, SetToolInteger2, SetFeedRate,
// SetSpindleSpeed, each only when known), then its moves and drill groups,
// and closed by EndPath(). No call but NextPath and StartPath is made outside
// an open path; a path is never left open at the end of the input. Where
// paths open and end, and where rapid moves go: gcode/README.md.
//
// Drill groups. Holes of one set of cycle values go as StartDrillPath(values),
// AddDrillPoint for every hole (repeats included) and FlushDrillPoints(), all
// inside an open path. A new group starts when any value changes.
//
// Arcs. ArcTo(end, centre, axis) describes an arc that runs counter-clockwise
// about `axis` (a unit vector, the arc's normal) from the current position to
// `end`; `centre` lies in the plane through the start point normal to
// `axis`. In G17 a G2 (clockwise seen from +Z) has axis (0,0,-1) and a G3
// (0,0,1); in G18 (the ZX plane, seen from +Y) G2 has (0,-1,0) and G3
// (0,1,0); in G19 (the YZ plane, seen from +X) G2 has (-1,0,0) and G3
// (1,0,0). A full circle has end equal to the start. A helix (a G2/G3 that
// also moves along the axis) is one ArcTo whose end carries the final
// coordinate along the axis; the centre keeps the start's. A SIEMENS CIP arc
// may lie in any plane: its axis is then the normal of the plane through its
// three points.
#pragma once

#include <string_view>

namespace zu::gcode {

// The compensation values FeedTo passes: the state of G40/G41/G42 on the
// first feed move of a path and on the first one after a change, kUnchanged
// on every other.
inline constexpr int kCompensationOff = 0;    // G40
inline constexpr int kCompensationLeft = 1;   // G41
inline constexpr int kCompensationRight = 2;  // G42
inline constexpr int kUnchanged = -1;

// The drill modes StartDrillPath passes: the ISO cycle numbers. A SIEMENS
// CYCLE8x call sends its number; CYCLE83 with chip breaking (VARI=0) sends 73.
inline constexpr int kDrill = 81;            // G81: feed in, rapid out
inline constexpr int kDrillDwell = 82;       // G82: feed in, dwell, rapid out
inline constexpr int kPeckDrill = 83;        // G83: pecks, each out to the R level
inline constexpr int kChipBreakDrill = 73;   // G73: pecks with a short back-off
inline constexpr int kTap = 84;              // G84: tapping
inline constexpr int kBore = 85;             // G85: feed in, feed out
inline constexpr int kBoreSpindleStop = 86;  // G86: feed in, spindle stop, rapid out
inline constexpr int kBoreDwell = 89;        // G89: feed in, dwell, feed out

// The receiver of a read program. Implementations must not throw.
class PathReceiver {
 public:
  virtual ~PathReceiver() = default;

  // `number` counts the paths of the program from 1; StartPath follows.
  virtual void NextPath(int number) = 0;
  virtual void StartPath() = 0;
  virtual void EndPath() = 0;

  virtual void RapidTo(double x, double y, double z) = 0;
  // `compensation`: kCompensationOff, kCompensationLeft, kCompensationRight
  // or kUnchanged (see above).
  virtual void FeedTo(double x, double y, double z, int compensation) = 0;
  virtual void ArcTo(double end_x, double end_y, double end_z, double centre_x, double centre_y,
                     double centre_z, double axis_x, double axis_y, double axis_z) = 0;

  // Millimetres per minute.
  virtual void SetFeedRate(double feed) = 0;
  // Revolutions per minute; 0 after a spindle stop (M5).
  virtual void SetSpindleSpeed(double speed) = 0;

  // The tool's name: a SIEMENS T="name", or the comment of the block that
  // selects the tool where the NC-system description asks for it. Valid during the call.
  virtual void SetToolName(std::string_view name) = 0;
  // The tool number (T).
  virtual void SetToolInteger1(int number) = 0;
  // The cutter compensation offset number (D).
  virtual void SetToolInteger2(int number) = 0;
  // The tool's diameter in millimetres, where the program sets the radius of
  // the active D offset (FANUC G10 L12 P<d> R<radius>). Dimensions 2, 3, 5, 6
  // and 7 are not sent: G code does not carry them.
  virtual void SetToolDimension1(double diameter) = 0;
  virtual void SetToolDimension2(double value) = 0;
  virtual void SetToolDimension3(double value) = 0;
  virtual void SetToolDimension5(double value) = 0;
  virtual void SetToolDimension6(double value) = 0;
  virtual void SetToolDimension7(double value) = 0;

  // The values of one drill group, levels absolute in the work frame:
  //   drill_mode     one of the modes above
  //   safe_distance  the approach distance above the work surface (SIEMENS
  //                  SDIS; 0 for G8x cycles, whose R level is the surface)
  //   dwell_time     seconds at the bottom (0 if none)
  //   peck_depth     depth of each peck (G83/G73 Q), 0 if none
  //   hole_depth     the hole's depth below the work surface (positive)
  //   clearance      the level the tool returns to after each hole (G98:
  //                  the initial level, G99: the R level; SIEMENS RTP)
  //   work_surface   the hole's top (G8x: the R level; SIEMENS RFP)
  //   drill_feed     millimetres per minute
  //   spindle_speed  revolutions per minute
  virtual void StartDrillPath(int drill_mode, double safe_distance, double dwell_time,
                              double peck_depth, double hole_depth, double clearance,
                              double work_surface, double drill_feed, double spindle_speed) = 0;
  // A hole: x and y its position, z its bottom.
  virtual void AddDrillPoint(double x, double y, double z) = 0;
  virtual void FlushDrillPoints() = 0;
};

}  // namespace zu::gcode
