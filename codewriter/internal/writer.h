// The code writer's state while it writes one program: where the tool is,
// the modal words in force, the tool and spindle, and the notes on what the
// machine could not do as asked. Split by what it writes: writer.cpp the
// program's frame, paths and tool changes; motion.cpp moves, arcs and
// dwells; cycles.cpp drilling.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "codewriter/arc_pieces.h"
#include "codewriter/block_output.h"
#include "codewriter/code_writer.h"
#include "kinematics/kinematics.h"
#include "kinematics/path_plan.h"

namespace zu::codewriter::internal {

class Writer {
 public:
  Writer(const cut::Program& program, const machine::MachineConfig& machine, std::string& code);

  WriteResult Write(const WriteOptions& options);

 private:
  // writer.cpp
  void ProgramStart(const std::string& name);
  void ProgramEnd();
  // The spindle stop and coolant off words, where they are on.
  void SpindleAndCoolantOff();
  void ToolChange(const cut::Path& path, std::size_t index);
  void Spindle(double speed);
  void PathStart(const cut::Path& path, const cut::Vec& target);
  // Across to `at` at its height, then "G0 G43 Z.. H.." there: the new
  // tool's length taken on the way down.
  void AcrossAndLengthOffset(const cut::Vec& at);
  void PathEnd(const cut::Path& path);
  // A milling path's moves: up, across and down to its start, then its steps.
  void MillPath(const cut::Path& path);
  void Note(const std::string& what);

  // motion.cpp
  // `axes`: bit 0 X, 1 Y, 2 Z: the axes the move may name.
  void Rapid(const cut::Vec& end, unsigned axes = 7);
  void Line(const cut::Vec& end, double feed, cut::Side side);
  void Arc(const cut::Step& step);
  // How far lines standing for an arc may lie from it (line_tolerance_).
  static double LineTolerance(const machine::MachineConfig& machine, double scale);
  void Dwell(double seconds);
  void MotionWord(std::string& b, int g);
  void SideWords(std::string& b, cut::Side side);
  // The axis words of a move to `end` (those of `axes` that change, or are
  // not known); the position becomes `end` on those axes. False when none
  // is written.
  bool AxisWords(std::string& b, const cut::Vec& end, unsigned axes);
  void FeedWord(std::string& b, double feed);
  void PlaneWord(std::string& b, int plane);
  void DwellWords(std::string& b, double seconds);
  void Length(std::string& b, char address, double mm);

  // tilted_plane.cpp
  // A path in a tilted system on a machine with its own tilted-plane
  // command: the plane set (the control turns the tool to it), the path in
  // the plane's coordinates as three-axis code, the plane cancelled.
  void TiltedPlanePath(const cut::Path& path);
  void PlaneWords(const cut::Frame& frame);

  // five_axis.cpp
  // A path whose tool axis turns or that lies in a tilted system, on a
  // machine with rotary axes: up, the rotary axes turned, across and down,
  // every move with its tool axis, out along the axis at the end.
  void FiveAxisPath(const cut::Path& path);
  // Before three-axis work: the rotary axes back where the work frame is
  // the machine's (at zero, a continuous axis at a whole number of turns),
  // the tool at a safe height first.
  void RotaryHome(const cut::Path& path);
  // The poses of a five-axis path and what each comes from: the start
  // (no step), every move's end, arcs as lines.
  bool CollectPoses(const cut::Path& path);
  // The poses a path starts with where the primary axis is free (the tool
  // along it) take the angle of the first pose where it is not.
  void TurnLeadingSingular(kin::PathPlan& plan) const;
  // The move to pose `k` at `at` (the machine's axes), at `feed` (<= 0:
  // rapid), after the machine stood at `from`.
  void PoseMove(std::size_t k, const kin::MachinePosition& from, const kin::MachinePosition& at,
                double feed);
  // One block of a five-axis move: G0/G1, the axes (the tip under TCP,
  // else the linear axes), the rotary words or the tool vector, the feed.
  void AxesBlock(int motion, const kin::ToolPose& pose, const kin::MachinePosition& at,
                 double feed_word, bool inverse_time);
  // Out along the tool axis from `pose` until the tip is at `clear` (a
  // tool lying nearly flat goes out as far as it is below, then up).
  void LeaveAlongAxis(const kin::ToolPose& pose, const kin::MachinePosition& at, double clear);
  void RotaryWords(std::string& b, const kin::MachinePosition& at);
  // A block turning the rotary axes to `at` at rapid, where they move.
  void RotaryMove(const kin::MachinePosition& at);
  void ToolCentrePoint(bool on);
  void InverseTime(bool on);
  // What the linear axes are written as at `tip` with the rotary axes of
  // `at`: the tip itself under TCP, else the machine's linear axes.
  cut::Vec LinearAxes(const kin::Vec3& tip, const kin::MachinePosition& at) const;
  double ClearHeight(const cut::Path& path) const;
  int AngleDecimals() const;
  // A machine position as the control reads it back: rounded as written.
  kin::MachinePosition Rounded(const kin::MachinePosition& at) const;

  // cycles.cpp
  void Drill(const cut::Path& path);
  void NativeCycle(const cut::Path& path);
  void SiemensCycles(const cut::Path& path);
  void ExpandedCycle(const cut::Path& path);

  const cut::Program& program_;
  const machine::MachineConfig& machine_;
  std::string& code_;
  BlockOutput out_;
  WriteResult result_;
  double scale_;  // millimetres to the machine's units
  double line_tolerance_;

  // What is in force; unknown at the start.
  cut::Vec position_;
  std::array<bool, 3> known_{};
  std::array<std::string, 3> axis_text_;
  int motion_ = -1;
  int plane_ = 17;
  std::string feed_text_;
  double speed_ = 0;
  bool spindle_on_ = false;
  bool coolant_on_ = false;
  std::optional<std::size_t> tool_;
  bool length_offset_due_ = false;
  cut::Side side_ = cut::Side::kOff;
  // Arcs the machine could not take as they were, by outcome.
  std::map<ArcOutcome, std::size_t> arc_outcomes_;
  std::size_t split_arcs_ = 0;
  ArcSplit split_;
  std::string word_;

  // Five-axis machines only.
  std::optional<kin::Kinematics> kinematics_;
  kin::MachinePosition machine_at_;  // the rotary axes as last written
  bool rotary_known_ = false;
  std::array<std::string, 2> rotary_text_;  // primary, secondary
  std::string vector_text_;                 // the tool vector's words in force
  bool tcp_on_ = false;
  bool inverse_time_on_ = false;
  std::vector<kin::ToolPose> poses_;
  std::vector<const cut::Step*> pose_steps_;           // null for the start
  std::vector<std::vector<const cut::Step*>> dwells_;  // dwells after each pose
  std::vector<kin::MachinePosition> pieces_;
  std::size_t arcs_as_lines_ = 0;
  std::size_t beyond_tolerance_ = 0;
  std::size_t repositions_ = 0;
};

}  // namespace zu::codewriter::internal
