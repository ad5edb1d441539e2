#include "reader/builder_bridge.h"

namespace zureader {

void BuilderBridge::NextPath(int number) {
  builder_.NextPath(number);
  drilling_ = filled_ = false;
}

void BuilderBridge::StartPath() {
  if (drilling_) {
    Reopen();
    return;
  }
  builder_.StartPath();
}

void BuilderBridge::EndPath() {
  builder_.EndPath();
  drilling_ = filled_ = false;
}

void BuilderBridge::BeforeMove() {
  if (drilling_)
    Reopen();
  filled_ = true;
}

void BuilderBridge::Reopen() {
  builder_.EndPath();
  builder_.StartPath();
  drilling_ = filled_ = false;
  SendTechnology();
}

void BuilderBridge::RapidTo(double x, double y, double z) {
  BeforeMove();
  builder_.RapidTo(x, y, z);
}

void BuilderBridge::FeedTo(double x, double y, double z, int compensation) {
  BeforeMove();
  // The builder changes nothing for a value other than 0, 1 and 2, which is
  // what the interpreter's "unchanged" is.
  builder_.FeedTo(x, y, z, compensation);
}

void BuilderBridge::ArcTo(double end_x, double end_y, double end_z, double centre_x,
                          double centre_y, double centre_z, double axis_x, double axis_y,
                          double axis_z) {
  BeforeMove();
  builder_.ArcTo(end_x, end_y, end_z, centre_x, centre_y, centre_z, axis_x, axis_y, axis_z);
}

void BuilderBridge::SetSpindleSpeed(double speed) {
  technology_.spindle_speed = speed;
  builder_.SetSpindleSpeed(speed);
}

void BuilderBridge::SetToolName(std::string_view name) {
  // A NUL inside the name would cut it short; the name ends there as the
  // builder would read it anyway.
  technology_.name.emplace(name.substr(0, name.find('\0')));
  builder_.SetToolName(technology_.name->c_str());
}

void BuilderBridge::SetToolInteger1(int number) {
  // The tool number comes first of a tool's values, at a path's start and
  // at a tool change: what was kept of the tool before is not this tool's.
  const std::optional<double> speed = technology_.spindle_speed;
  technology_ = Technology{};
  technology_.spindle_speed = speed;
  technology_.integer1 = number;
  builder_.SetToolInteger1(number);
}

void BuilderBridge::SetToolInteger2(int number) {
  technology_.integer2 = number;
  builder_.SetToolInteger2(number);
}

void BuilderBridge::SetToolDimension1(double diameter) {
  technology_.dimensions[0] = diameter;
  builder_.SetToolDimension1(diameter);
}

void BuilderBridge::SetToolDimension2(double value) {
  technology_.dimensions[1] = value;
  builder_.SetToolDimension2(value);
}

void BuilderBridge::SetToolDimension3(double value) {
  technology_.dimensions[2] = value;
  builder_.SetToolDimension3(value);
}

void BuilderBridge::SetToolDimension5(double value) {
  technology_.dimensions[4] = value;
  builder_.SetToolDimension5(value);
}

void BuilderBridge::SetToolDimension6(double value) {
  technology_.dimensions[5] = value;
  builder_.SetToolDimension6(value);
}

void BuilderBridge::SetToolDimension7(double value) {
  technology_.dimensions[6] = value;
  builder_.SetToolDimension7(value);
}

void BuilderBridge::SendTechnology() {
  const Technology& t = technology_;
  if (t.name)
    builder_.SetToolName(t.name->c_str());
  if (t.integer1)
    builder_.SetToolInteger1(*t.integer1);
  if (t.integer2)
    builder_.SetToolInteger2(*t.integer2);
  if (t.dimensions[0])
    builder_.SetToolDimension1(*t.dimensions[0]);
  if (t.dimensions[1])
    builder_.SetToolDimension2(*t.dimensions[1]);
  if (t.dimensions[2])
    builder_.SetToolDimension3(*t.dimensions[2]);
  if (t.dimensions[4])
    builder_.SetToolDimension5(*t.dimensions[4]);
  if (t.dimensions[5])
    builder_.SetToolDimension6(*t.dimensions[5]);
  if (t.dimensions[6])
    builder_.SetToolDimension7(*t.dimensions[6]);
  if (t.spindle_speed)
    builder_.SetSpindleSpeed(*t.spindle_speed);
}

void BuilderBridge::StartDrillPath(int drill_mode, double safe_distance, double dwell_time,
                                   double peck_depth, double hole_depth, double clearance,
                                   double work_surface, double drill_feed, double spindle_speed) {
  // The builder drops the open path here: one that holds something is
  // handed to the document first. What was set of the tool went to the
  // path dropped or ended, so the drilling path is given it again.
  if (filled_)
    builder_.EndPath();
  builder_.StartDrillPath(drill_mode, safe_distance, dwell_time, peck_depth, hole_depth, clearance,
                          work_surface, drill_feed, spindle_speed);
  drilling_ = true;
  filled_ = false;
  SendTechnology();
}

void BuilderBridge::AddDrillPoint(double x, double y, double z) {
  filled_ = true;
  builder_.AddDrillPoint(x, y, z);
}

}  // namespace zureader
