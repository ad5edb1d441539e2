// What is sent: paths opened and closed, held rapids, the technology sent
// where it changes, moves and drill groups, in the code's order.
#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {

double Interpreter::Diameter() const {
  if (modal_.d < 0)
    return kNotSent;
  return 2 * radii_[static_cast<std::size_t>(modal_.d)];
}

void Interpreter::SendToolState() {
  if (modal_.tool != tool_sent_ && modal_.tool >= 0)
    out_.SetToolInteger1(static_cast<int>(modal_.tool));
  tool_sent_ = modal_.tool;
  if (tool_name_ != name_sent_ && !tool_name_.empty())
    out_.SetToolName(tool_name_);
  name_sent_ = tool_name_;
}

void Interpreter::OpenPath(PathKind kind) {
  ++path_count_;
  out_.NextPath(path_count_);
  out_.StartPath();
  kind_ = kind;
  tool_sent_ = -2;
  name_sent_.clear();
  feed_sent_ = speed_sent_ = diameter_sent_ = kNotSent;
  d_sent_ = -2;
  modal_.compensation_changed = true;
  SendToolState();
  Sync(true);
  SendHeldRapids();
}

void Interpreter::EndDrillGroup() {
  if (group_open_) {
    out_.FlushDrillPoints();
    group_open_ = false;
  }
}

void Interpreter::SendHeldRapids() {
  for (std::size_t i = 0; i < held_count_; ++i) {
    AnnounceAxes(held_axes_[i]);  // held as sent: in the work frame
    out_.RapidTo(held_[i][0], held_[i][1], held_[i][2]);
  }
  held_count_ = 0;
}

void Interpreter::ClosePath(bool send_held) {
  if (kind_ == PathKind::kNone) {
    held_count_ = 0;  // positioning outside any path
    return;
  }
  EndDrillGroup();
  if (send_held)
    SendHeldRapids();
  out_.EndPath();
  kind_ = PathKind::kNone;
}

// Sends what changed of the technology to the open path.
void Interpreter::Sync(bool opening) {
  if (kind_ == PathKind::kNone)
    return;
  // A drill group holds one feed and speed: a change ends it.
  const bool feed_changes = modal_.feed_known && !(modal_.feed == feed_sent_);
  const bool speed_changes =
      (modal_.speed_known || modal_.spindle_stopped) && !(EffectiveSpeed() == speed_sent_);
  const double diameter = Diameter();
  const bool changes = feed_changes || speed_changes ||
                       (!std::isnan(diameter) && !(diameter == diameter_sent_)) ||
                       (modal_.d >= 0 && modal_.d != d_sent_);
  if (changes && !opening) {
    // What the path did before the change goes first, in the code's order.
    EndDrillGroup();
    SendHeldRapids();
  }
  if (!std::isnan(diameter) && !(diameter == diameter_sent_)) {
    out_.SetToolDimension1(diameter);
    diameter_sent_ = diameter;
  }
  if (modal_.d >= 0 && modal_.d != d_sent_) {
    out_.SetToolInteger2(modal_.d);
    d_sent_ = modal_.d;
  }
  if (modal_.feed_known && !(modal_.feed == feed_sent_)) {
    out_.SetFeedRate(modal_.feed);
    feed_sent_ = modal_.feed;
  }
  if ((modal_.speed_known || modal_.spindle_stopped) && !(EffectiveSpeed() == speed_sent_)) {
    out_.SetSpindleSpeed(EffectiveSpeed());
    speed_sent_ = EffectiveSpeed();
  }
}

void Interpreter::ChangeTool() {
  modal_.tool = modal_.next_tool;
  // The offset number belongs to the tool it was given with.
  modal_.d = -1;
  tool_name_ = next_tool_name_;
  if (sys_.name_from_comment && !block_.comment.empty())
    tool_name_ = std::string(block_.comment.substr(0, 64));
  if (sys_.break_at_tool_change)
    ClosePath(true);
  else if (kind_ != PathKind::kNone)
    SendToolState();
}

void Interpreter::SendRapid(const Point& end) {
  const bool still = Same(end, modal_.position) && modal_.position_known;
  if (still && !SendStill())
    return;
  if (!still) {
    modal_.tangent = Minus(end, modal_.position);
    modal_.tangent_known = modal_.position_known;
  }
  modal_.position = end;
  modal_.position_known = true;
  const Point sent = ToWork(end);
  if (kind_ == PathKind::kMilling) {
    EndDrillGroup();
    AnnounceAxes(Reported());
    out_.RapidTo(sent[0], sent[1], sent[2]);
    return;
  }
  if (held_count_ < kHeldRapids) {
    held_axes_[held_count_] = Reported();
    held_[held_count_++] = sent;
    return;
  }
  if (kind_ == PathKind::kNone) {
    OpenPath(PathKind::kMilling);
  } else {
    EndDrillGroup();
    SendHeldRapids();
  }
  AnnounceAxes(Reported());
  out_.RapidTo(sent[0], sent[1], sent[2]);
}

void Interpreter::SendCut(const Move& move) {
  const bool still = Same(move.end, modal_.position) && modal_.position_known;
  if (move.kind == Move::kFeed && still && !SendStill())
    return;
  if (kind_ == PathKind::kDrilling) {
    // The drilling path ends; rapids after its last hole lead into this one.
    ClosePath(false);
  }
  if (kind_ == PathKind::kNone)
    OpenPath(PathKind::kMilling);
  EndDrillGroup();
  SendHeldRapids();
  if (move.kind == Move::kFeed) {
    int compensation = kUnchanged;
    if (modal_.compensation_changed) {
      compensation = modal_.compensation;
      modal_.compensation_changed = false;
    }
    const Point end = ToWork(move.end);
    AnnounceAxes(Reported());
    out_.FeedTo(end[0], end[1], end[2], compensation);
    if (!still) {
      modal_.tangent = Minus(move.end, modal_.position);
      modal_.tangent_known = modal_.position_known;
    }
  } else {
    const Point end = ToWork(move.end);
    const Point centre = ToWork(move.centre);
    const Point axis = TurnToWork(move.axis);
    AnnounceAxes(Reported());
    out_.ArcTo(end[0], end[1], end[2], centre[0], centre[1], centre[2], axis[0], axis[1], axis[2]);
    modal_.tangent = Cross(move.axis, Minus(move.end, move.centre));
    modal_.tangent_known = true;
  }
  modal_.position = move.end;
  modal_.position_known = true;
}

void Interpreter::SendHole(const DrillValues& values, const Point& bottom) {
  if (kind_ == PathKind::kMilling && sys_.cycles_own_paths)
    ClosePath(true);
  if (kind_ == PathKind::kNone)
    OpenPath(sys_.cycles_own_paths ? PathKind::kDrilling : PathKind::kMilling);
  held_count_ = 0;  // the positioning between holes goes with the holes
  if (!(group_ == values))
    EndDrillGroup();
  if (!group_open_) {
    out_.StartDrillPath(values.mode, values.safe, values.dwell, values.peck, values.depth,
                        values.clearance, values.surface, values.feed, values.speed);
    group_ = values;
    group_open_ = true;
  }
  out_.AddDrillPoint(bottom[0], bottom[1], bottom[2]);
}

void Interpreter::Perform() {
  result_.rotary_axes |= static_cast<std::uint8_t>(plan_.rotary_words & (kAxisA | kAxisB | kAxisC));
  const AxisState reported = Reported();
  result_.tool_centre_point = result_.tool_centre_point || reported.tool_centre_point;
  result_.tool_vectors = result_.tool_vectors || reported.has_vector;
  result_.inverse_time = result_.inverse_time || modal_.inverse_time;
  if (plan_.tool_named)
    next_tool_name_ = plan_.tool_name;
  if (plan_.tool_change)
    ChangeTool();
  // A path that this block's moves or holes end is closed before the
  // block's technology is sent, so that it goes to the next path.
  if (sys_.cycles_own_paths) {
    if (plan_.holes.count > 0 && kind_ == PathKind::kMilling)
      ClosePath(true);
    else if (plan_.move_count > 0 && plan_.moves[0].kind != Move::kRapid &&
             kind_ == PathKind::kDrilling)
      ClosePath(false);
  }
  Sync();
  if (plan_.offset_target >= 0) {
    if (plan_.offset_is_radius) {
      radii_[static_cast<std::size_t>(plan_.offset_target)] = plan_.offset_values[0];
      Sync();
    } else {
      WorkOffset& offset = offsets_[static_cast<std::size_t>(plan_.offset_target)];
      double* values[] = {&offset.x, &offset.y, &offset.z};
      for (std::size_t axis = 0; axis < 3; ++axis) {
        if ((plan_.offset_axes >> axis & 1) != 0)
          *values[axis] = modal_.incremental ? *values[axis] + plan_.offset_values[axis]
                                             : plan_.offset_values[axis];
      }
      if (plan_.offset_target == modal_.offset_index)
        modal_.offset = OffsetOf(modal_.offset_index);
    }
  }
  for (int i = 0; i < plan_.move_count; ++i) {
    const Move& move = plan_.moves[static_cast<std::size_t>(i)];
    if (move.kind == Move::kRapid)
      SendRapid(move.end);
    else
      SendCut(move);
  }
  const Holes& holes = plan_.holes;
  if (holes.count > 0) {
    Point at = holes.first;
    for (int i = 0; i < holes.count; ++i) {
      SendHole(holes.values, at);
      at[0] += holes.step[0];
      at[1] += holes.step[1];
    }
    modal_.position = {at[0] - holes.step[0], at[1] - holes.step[1], holes.after_z};
    modal_.position_known = true;
    modal_.tangent_known = false;
  }
  if (plan_.stop && sys_.break_at_stop)
    ClosePath(true);
  if (plan_.end) {
    ClosePath(true);
    stop_ = true;
    return;
  }
  PerformCall();
  if (plan_.sub_end) {
    if (stack_.empty()) {
      ClosePath(true);
      stop_ = true;  // the main program's end
    } else {
      Return(false);
    }
  }
}

}  // namespace zu::gcode::internal
