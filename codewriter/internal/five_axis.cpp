// Five-axis paths: the rotary axes from the machine's kinematics, under the
// control's tool-centre-point mode (the program gives the tip) or computed
// by the post (the program gives the machine's axes, moves split so that
// the tip keeps to the straight line, feeds in inverse time).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "codewriter/internal/writer.h"
#include "codewriter/number_text.h"
#include "kinematics/linearise.h"

namespace zu::codewriter::internal {

namespace {

using machine::TcpMode;

kin::Vec3 K(const cut::Vec& v) {
  return {v.x, v.y, v.z};
}
cut::Vec C(const kin::Vec3& v) {
  return {v.x, v.y, v.z};
}

constexpr double kPi = 3.14159265358979323846;
// Decimals of a tool vector's components (1e-6 is 0.00006 degrees).
constexpr int kVectorDecimals = 6;
// Significant digits of an inverse-time feed.
constexpr int kInverseTimeDigits = 6;

// The ends of lines standing for an arc about any axis, within `tolerance`
// of it: equal turns, a helix rising evenly; the last is the arc's end.
void ArcLines(const cut::Vec& start, const cut::Step& step, double tolerance,
              std::vector<cut::Vec>& ends) {
  ends.clear();
  const kin::Vec3 n = kin::Unit(K(step.normal));
  const kin::Vec3 c = K(step.centre);
  kin::Vec3 a = K(start) - c;
  a = a - kin::Dot(a, n) * n;
  const kin::Vec3 e = K(step.end) - c;
  const double rise = kin::Dot(e, n) - kin::Dot(K(start) - c, n);
  const double radius = kin::Length(a);
  double sweep = kin::AngleAbout(a, e, n);
  if (sweep <= 0)
    sweep += 2 * kPi;
  const double most = tolerance < radius ? 2 * std::acos(1 - tolerance / radius) : kPi / 2;
  const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / std::min(most, kPi / 2))));
  for (int k = 1; k < pieces; ++k) {
    const double f = static_cast<double>(k) / pieces;
    ends.push_back(
        C(c + kin::Rotate(a, n, f * sweep) + (kin::Dot(K(start) - c, n) + f * rise) * n));
  }
  ends.push_back(step.end);
}

// `pose` taken out along its tool axis until the tip is at `clear`; a tool
// lying (nearly) flat goes out as far as it is below, and then up.
kin::ToolPose OutAlongAxis(kin::ToolPose pose, double clear) {
  const double below = std::max(0.0, clear - pose.tip.z);
  const double along = pose.axis.z > 0.1 ? below / pose.axis.z : below;
  pose.tip = pose.tip + along * pose.axis;
  return pose;
}

}  // namespace

int Writer::AngleDecimals() const {
  // A decimal more than the lengths: 0.001 degrees is 1.7 um at 100 mm
  // from the axis, beyond a tolerance of a micron.
  return machine_.decimals.coordinates + 1;
}

kin::MachinePosition Writer::Rounded(const kin::MachinePosition& at) const {
  // Through the same text as the words: its rounding is exact, ties to even.
  const auto read_back = [](double value, int decimals) {
    std::string text;
    AppendDecimal(text, value, decimals);
    return std::strtod(text.c_str(), nullptr);
  };
  const int lengths = machine_.decimals.coordinates;
  return {read_back(at.x * scale_, lengths) / scale_, read_back(at.y * scale_, lengths) / scale_,
          read_back(at.z * scale_, lengths) / scale_, read_back(at.primary, AngleDecimals()),
          read_back(at.secondary, AngleDecimals())};
}

double Writer::ClearHeight(const cut::Path& path) const {
  if (!path.tilted)
    return path.safe_height.value_or(position_.z);
  // A tilted system's safe height is a plane of its own: the highest of the
  // path's points taken out to it along the system's Z.
  const cut::Frame& f = *path.tilted;
  const kin::Vec3 o = K(f.origin);
  const kin::Vec3 z = K(f.z);
  double clear = -1e300;
  for (const kin::ToolPose& pose : poses_) {
    const double local = kin::Dot(pose.tip - o, z);
    const double s = path.safe_height.value_or(local);
    clear = std::max(clear, (pose.tip + (std::max(s, local) - local) * z).z);
  }
  return clear;
}

cut::Vec Writer::LinearAxes(const kin::Vec3& tip, const kin::MachinePosition& at) const {
  if (machine_.kinematics->tcp != TcpMode::kNone)
    return C(tip);
  const kin::MachinePosition p = kinematics_->Place(tip, at.primary, at.secondary);
  return {p.x, p.y, p.z};
}

void Writer::RotaryWords(std::string& b, const kin::MachinePosition& at) {
  const kin::MachineLayout& layout = machine_.kinematics->layout;
  struct Word {
    char letter;
    double angle;
    std::size_t slot;
  };
  Word words[2] = {{layout.primary.letter, at.primary, 0},
                   {layout.secondary.letter, at.secondary, 1}};
  if (words[1].letter < words[0].letter)
    std::swap(words[0], words[1]);
  for (const Word& w : words) {
    word_.clear();
    AppendDecimal(word_, w.angle, AngleDecimals());
    if (rotary_known_ && word_ == rotary_text_[w.slot] && machine_.modal.coordinates)
      continue;
    b += w.letter;
    b += word_;
    b += ' ';
    rotary_text_[w.slot] = word_;
  }
  machine_at_.primary = at.primary;
  machine_at_.secondary = at.secondary;
  rotary_known_ = true;
}

void Writer::RotaryMove(const kin::MachinePosition& at) {
  std::string& b = out_.Begin();
  const int motion = motion_;
  MotionWord(b, 0);
  const std::size_t words = b.size();
  RotaryWords(b, at);
  if (b.size() > words)
    out_.End();
  else
    motion_ = motion;
}

void Writer::ToolCentrePoint(bool on) {
  const machine::Kinematics& k = *machine_.kinematics;
  if (on == tcp_on_ || k.tcp == TcpMode::kNone)
    return;
  std::string& b = out_.Begin();
  switch (k.tcp) {
    case TcpMode::kG43_4:
      if (on) {
        b += "G43.4 H";
        AppendInteger(b, program_.tools[*tool_].number + machine_.tools.length_register_offset);
        length_offset_due_ = false;
      } else {
        b += machine_.tools.cancel_length_offset.empty() ? "G49"
                                                         : machine_.tools.cancel_length_offset;
        // The tool's length is no longer in force: the next path takes it
        // again.
        length_offset_due_ = machine_.tools.length_offset;
      }
      break;
    case TcpMode::kTraori:
      b += on ? "TRAORI" : "TRAFOOF";
      break;
    case TcpMode::kWords:
      b += on ? k.tcp_on : k.tcp_off;
      break;
    case TcpMode::kNone:
      break;
  }
  out_.End();
  tcp_on_ = on;
  // The axes' words mean another thing from here: write them all again.
  known_ = {false, false, false};
  vector_text_.clear();
  motion_ = -1;
}

void Writer::InverseTime(bool on) {
  if (on == inverse_time_on_)
    return;
  const machine::Kinematics& k = *machine_.kinematics;
  out_.Begin() += on ? k.inverse_time_on : k.inverse_time_off;
  out_.End();
  inverse_time_on_ = on;
  feed_text_.clear();
}

void Writer::AxesBlock(int motion, const kin::ToolPose& pose, const kin::MachinePosition& at,
                       double feed_word, bool inverse_time) {
  const machine::Kinematics& k = *machine_.kinematics;
  std::string& b = out_.Begin();
  const std::size_t empty = b.size();
  const int motion_before = motion_;
  MotionWord(b, motion);
  const std::size_t before_axes = b.size();
  if (k.tcp != TcpMode::kNone)
    AxisWords(b, C(pose.tip), 7);
  else
    AxisWords(b, {at.x, at.y, at.z}, 7);
  if (k.tcp == TcpMode::kTraori && k.vectors) {
    // The tool axis itself; the control finds the rotary axes.
    const double v[3] = {pose.axis.x, pose.axis.y, pose.axis.z};
    const char* names[3] = {"A3=", "B3=", "C3="};
    word_.clear();
    for (int i = 0; i < 3; ++i) {
      word_ += names[i];
      AppendDecimal(word_, v[i], kVectorDecimals);
      word_ += ' ';
    }
    // The vector stays in force until another is given.
    if (word_ != vector_text_ || !machine_.modal.coordinates) {
      b += word_;
      vector_text_ = word_;
    }
    machine_at_.primary = at.primary;
    machine_at_.secondary = at.secondary;
    rotary_known_ = true;
  } else {
    RotaryWords(b, at);
  }
  if (b.size() == before_axes) {
    b.resize(empty);
    motion_ = motion_before;
    return;
  }
  if (motion != 0) {
    if (inverse_time) {
      // F is the reciprocal of the block's minutes: written to a fixed
      // number of significant digits, however short the block.
      const int whole =
          feed_word >= 1 ? static_cast<int>(std::floor(std::log10(feed_word))) + 1 : 1;
      const int decimals = std::clamp(kInverseTimeDigits - whole, machine_.decimals.feed, 9);
      b += 'F';
      AppendDecimal(b, feed_word, decimals);
      b += ' ';
      feed_text_.clear();
    } else {
      FeedWord(b, feed_word);
    }
  }
  out_.End();
}

void Writer::LeaveAlongAxis(const kin::ToolPose& pose, const kin::MachinePosition& at,
                            double clear) {
  if (!(clear - pose.tip.z > 0))
    return;
  kin::ToolPose out = OutAlongAxis(pose, clear);
  AxesBlock(0, out, kinematics_->Place(out.tip, at.primary, at.secondary), 0, false);
  if (out.tip.z < clear) {
    out.tip.z = clear;
    AxesBlock(0, out, kinematics_->Place(out.tip, at.primary, at.secondary), 0, false);
  }
}

void Writer::RotaryHome(const cut::Path& path) {
  if (!rotary_known_)
    return;
  kin::MachinePosition home = machine_at_;
  const kin::MachineLayout& layout = machine_.kinematics->layout;
  // A continuous axis goes to the nearest whole turn, others to zero.
  home.primary = layout.primary.continuous ? 360 * std::round(home.primary / 360) : 0;
  home.secondary = layout.secondary.continuous ? 360 * std::round(home.secondary / 360) : 0;
  if (home.primary == machine_at_.primary && home.secondary == machine_at_.secondary)
    return;
  const double clear = path.safe_height.value_or(position_.z);
  if (known_[2] && position_.z < clear) {
    cut::Vec up = position_;
    up.z = clear;
    Rapid(up, 4);
  }
  RotaryMove(home);
}

void Writer::TurnLeadingSingular(kin::PathPlan& plan) const {
  // Where the primary axis turns the tool about itself, its angle is free:
  // a path that starts so takes the angle its first other pose needs, so
  // that the axis does not swing through half a turn on the first cut.
  const auto singular = [&](const kin::MachinePosition& at) {
    kin::MachinePosition turned = at;
    turned.primary += 90;
    const kin::Vec3 a = kinematics_->Forward(at).axis;
    const kin::Vec3 b = kinematics_->Forward(turned).axis;
    return kin::Length(kin::Cross(a, b)) < 1e-9 && kin::Dot(a, b) > 0;
  };
  std::size_t first = 0;
  while (first < plan.positions.size() && singular(plan.positions[first]))
    ++first;
  if (first == 0 || first == plan.positions.size())
    return;
  for (std::size_t k = 0; k < first; ++k) {
    const kin::MachinePosition& at = plan.positions[k];
    const kin::MachinePosition moved =
        kinematics_->Place(poses_[k].tip, plan.positions[first].primary, at.secondary);
    if (!kinematics_->WithinLimits(moved))
      return;
    plan.positions[k] = moved;
  }
}

bool Writer::CollectPoses(const cut::Path& path) {
  poses_.clear();
  pose_steps_.clear();
  dwells_.clear();
  kin::Vec3 axis{0, 0, 1};
  for (const cut::Step& step : path.steps) {
    if (step.kind != cut::Step::Kind::kDwell) {
      axis = K(step.axis);
      break;
    }
  }
  cut::Vec at = path.home.value_or(path.steps.front().end);
  poses_.push_back({K(at), axis});
  pose_steps_.push_back(nullptr);
  dwells_.emplace_back();
  std::vector<cut::Vec> ends;
  for (const cut::Step& step : path.steps) {
    if (step.kind == cut::Step::Kind::kDwell) {
      dwells_.back().push_back(&step);
      continue;
    }
    if (step.compensation != cut::Side::kOff) {
      result_.error = "path \"" + path.name +
                      "\": cutter compensation in five-axis motion is not written (the file "
                      "asks for it on a move with a tool axis)";
      return false;
    }
    if (step.kind == cut::Step::Kind::kArc) {
      ArcLines(at, step, line_tolerance_, ends);
      ++arcs_as_lines_;
    } else {
      ends.assign(1, step.end);
    }
    for (const cut::Vec& end : ends) {
      poses_.push_back({K(end), K(step.axis)});
      pose_steps_.push_back(&step);
      dwells_.emplace_back();
    }
    at = step.end;
  }
  return true;
}

void Writer::PoseMove(std::size_t k, const kin::MachinePosition& from,
                      const kin::MachinePosition& at, double feed) {
  const bool tcp = machine_.kinematics->tcp != TcpMode::kNone;
  if (feed <= 0 || tcp) {
    InverseTime(false);
    AxesBlock(feed > 0 ? 1 : 0, poses_[k], at, feed, false);
    return;
  }
  // The post moves the machine's axes: pieces whose tip keeps to the line,
  // each in the time its share of the move takes at the feed.
  pieces_.clear();
  const kin::LinearisedMove split =
      kin::Linearise(*kinematics_, poses_[k - 1], poses_[k], from, at, pieces_);
  if (!split.within)
    ++beyond_tolerance_;
  pieces_.push_back(at);
  const bool inverse = machine_.kinematics->feed == machine::FiveAxisFeed::kInverseTime;
  if (inverse)
    InverseTime(true);
  // Timed as the control reads them: from the written, rounded values.
  kin::Vec3 tip = kinematics_->Forward(Rounded(from)).tip;
  kin::ToolPose pose = poses_[k];
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    const kin::ToolPose reached = kinematics_->Forward(Rounded(pieces_[i]));
    const double length = kin::Length(reached.tip - tip);
    tip = reached.tip;
    pose.axis = reached.axis;
    double word = feed;
    if (inverse) {
      // A piece that only turns the tool takes the time of a millimetre.
      const double minutes = std::max(length, 1e-3) / feed;
      word = 1 / minutes;
    }
    AxesBlock(1, pose, pieces_[i], word, inverse);
  }
}

void Writer::FiveAxisPath(const cut::Path& path) {
  if (!CollectPoses(path))
    return;
  kin::PathPlan plan = kin::PlanPath(*kinematics_, poses_, rotary_known_ ? &machine_at_ : nullptr);
  if (!plan.error.empty()) {
    result_.error = "path \"" + path.name + "\": " + plan.error;
    return;
  }
  TurnLeadingSingular(plan);
  const double clear = std::max(ClearHeight(path), known_[2] ? position_.z : -1e300);
  // Up with the axes as they stand, then the rotary axes turned.
  if (known_[2] && position_.z < clear) {
    cut::Vec up = position_;
    up.z = clear;
    Rapid(up, 4);
  }
  RotaryMove(plan.positions[0]);
  ToolCentrePoint(true);
  // Across at the clear height, then down to the start.
  const kin::MachinePosition& first = plan.positions[0];
  kin::ToolPose above = poses_[0];
  above.tip.z = std::max(clear, above.tip.z);
  const cut::Vec across = LinearAxes(above.tip, first);
  if (length_offset_due_ && machine_.kinematics->tcp == TcpMode::kNone) {
    AcrossAndLengthOffset(across);
  } else {
    Rapid(across, 3);
    Rapid(across, 4);
  }
  AxesBlock(0, poses_[0], kinematics_->Place(poses_[0].tip, first.primary, first.secondary), 0,
            false);
  for (const cut::Step* dwell : dwells_[0])
    Dwell(dwell->seconds);

  std::size_t next_reposition = 0;
  kin::MachinePosition from = first;
  for (std::size_t k = 1; k < poses_.size(); ++k) {
    const cut::Step& step = *pose_steps_[k];
    const double feed = step.kind == cut::Step::Kind::kRapid ? 0 : step.feed;
    PoseMove(k, from, plan.positions[k], feed);
    from = plan.positions[k];
    for (const cut::Step* dwell : dwells_[k])
      Dwell(dwell->seconds);
    if (next_reposition < plan.repositions.size() && plan.repositions[next_reposition].index == k) {
      // Out along the axis, the rotary axes onto the other solution, back in.
      const kin::Reposition& r = plan.repositions[next_reposition++];
      ++repositions_;
      InverseTime(false);
      LeaveAlongAxis(poses_[k], r.leave, clear);
      RotaryMove(r.enter);
      const kin::ToolPose back = OutAlongAxis(poses_[k], clear);
      AxesBlock(0, back, kinematics_->Place(back.tip, r.enter.primary, r.enter.secondary), 0,
                false);
      // Back down the line it left along, to where it left.
      AxesBlock(0, poses_[k], r.enter, 0, false);
      from = r.enter;
    }
  }
  InverseTime(false);
  LeaveAlongAxis(poses_.back(), from, clear);
  ToolCentrePoint(false);
}

}  // namespace zu::codewriter::internal
