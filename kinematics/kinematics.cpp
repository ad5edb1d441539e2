#include "kinematics/kinematics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zu::kin {
namespace {

constexpr double kRadians = std::numbers::pi / 180;
constexpr double kDegrees = 180 / std::numbers::pi;
constexpr Vec3 kToolAxis{0, 0, 1};
// Angles closer than this to a limit count as within it (degrees).
constexpr double kLimitSlack = 1e-9;

bool HasHead(Layout layout) {
  return layout != Layout::kTableTable;
}
bool PrimaryInHead(Layout layout) {
  return layout == Layout::kHeadHead;
}

double Sense(const RotaryAxis& axis) {
  return axis.reversed ? -1 : 1;
}

// `angle` (degrees) in (-180, 180].
double Wrapped(double angle) {
  double a = std::remainder(angle, 360.0);
  if (a <= -180)
    a += 360;
  return a;
}

// The angle equivalent to `angle` (turns of 360 degrees) nearest `reference`.
double NearestTurn(double angle, double reference) {
  return angle + 360 * std::round((reference - angle) / 360);
}

// The angle equivalent to `angle` within [min, max] nearest `reference`;
// none when no turn of it lies there.
std::optional<double> NearestTurnWithin(double angle, double reference, const RotaryAxis& axis) {
  const double low = std::ceil((axis.min - kLimitSlack - angle) / 360);
  const double high = std::floor((axis.max + kLimitSlack - angle) / 360);
  if (low > high)
    return std::nullopt;
  return angle + 360 * std::clamp(std::round((reference - angle) / 360), low, high);
}

// `p` turned by `turn` about the axis through `through`.
Vec3 TurnAbout(Vec3 p, Vec3 through, const Turn& turn) {
  return through + turn(p - through);
}

}  // namespace

Kinematics::Kinematics(const MachineLayout& layout)
    : layout_(layout),
      primary_dir_(Unit(layout.primary.direction)),
      secondary_dir_(Unit(layout.secondary.direction)),
      primary_sense_(Sense(layout.primary) * (PrimaryInHead(layout.layout) ? 1 : -1)),
      secondary_sense_(Sense(layout.secondary) * (HasHead(layout.layout) ? 1 : -1)),
      singular_sin_(std::sin(layout.singular_degrees * kRadians)) {}

Kinematics::AxisTurns Kinematics::TurnsAt(double primary, double secondary) const {
  return {Turn(primary_dir_, Sense(layout_.primary) * primary * kRadians),
          Turn(secondary_dir_, Sense(layout_.secondary) * secondary * kRadians)};
}

Vec3 Kinematics::TableToMachine(Vec3 p, const AxisTurns& turns) const {
  switch (layout_.layout) {
    case Layout::kTableTable:
      // The cradle (secondary) carries the rotary table (primary).
      p = TurnAbout(p, layout_.primary.pivot, turns.primary);
      return TurnAbout(p, layout_.secondary.pivot, turns.secondary);
    case Layout::kHeadTable:
      return TurnAbout(p, layout_.primary.pivot, turns.primary);
    case Layout::kHeadHead:
      break;
  }
  return p;
}

Vec3 Kinematics::MachineToTable(Vec3 p, const AxisTurns& turns) const {
  switch (layout_.layout) {
    case Layout::kTableTable:
      p = TurnAbout(p, layout_.secondary.pivot, turns.secondary.Back());
      return TurnAbout(p, layout_.primary.pivot, turns.primary.Back());
    case Layout::kHeadTable:
      return TurnAbout(p, layout_.primary.pivot, turns.primary.Back());
    case Layout::kHeadHead:
      break;
  }
  return p;
}

Vec3 Kinematics::HeadOffset(const AxisTurns& turns) const {
  const Vec3 gauge{0, 0, layout_.pivot_length};
  switch (layout_.layout) {
    case Layout::kHeadHead: {
      // The upright axis (primary) carries the tilting one (secondary),
      // which carries the spindle.
      const Vec3 tip = TurnAbout({}, gauge + layout_.secondary.pivot, turns.secondary);
      return TurnAbout(tip, gauge + layout_.primary.pivot, turns.primary);
    }
    case Layout::kHeadTable:
      return TurnAbout({}, gauge + layout_.secondary.pivot, turns.secondary);
    case Layout::kTableTable:
      break;
  }
  return {};
}

ToolPose Kinematics::Forward(const MachinePosition& m) const {
  const AxisTurns turns = TurnsAt(m.primary, m.secondary);
  const Vec3 tip = Vec3{m.x, m.y, m.z} + HeadOffset(turns);
  // The tool axis: turned by the head's axes in the machine, then turned
  // back by the table's into the work frame.
  Vec3 axis = kToolAxis;
  switch (layout_.layout) {
    case Layout::kTableTable:
      axis = turns.primary.Back()(turns.secondary.Back()(axis));
      break;
    case Layout::kHeadTable:
      axis = turns.primary.Back()(turns.secondary(axis));
      break;
    case Layout::kHeadHead:
      axis = turns.primary(turns.secondary(axis));
      break;
  }
  return {MachineToTable(tip, turns), axis};
}

int Kinematics::Orientations(Vec3 k, double primary_hint, Angles out[2]) const {
  const Vec3 a = primary_dir_;
  const Vec3 b = secondary_dir_;
  // The tool axis in the work frame is Rot(a, pa) Rot(b, sb) z, with pa and sb
  // the angles times their senses. So w = Rot(a, -pa) k = Rot(b, sb) z lies
  // on the cone about a through k and on the cone about b through z.
  if (Length(Cross(k, a)) <= singular_sin_) {
    const double pa = primary_hint * kRadians * primary_sense_;
    const Vec3 w = Rotate(k, a, -pa);
    const double sb = AngleAbout(kToolAxis, w, b);
    // Within the band the axis given may lie off the one asked for by the
    // band's width at most; further off, the axes cannot reach it.
    if (Length(Cross(Rotate(kToolAxis, b, sb), w)) > 2 * singular_sin_ ||
        Dot(Rotate(kToolAxis, b, sb), w) < 0)
      return 0;
    out[0] = {Wrapped(primary_hint), Wrapped(sb / secondary_sense_ * kDegrees)};
    return 1;
  }
  const double alpha = Dot(a, k);
  const double beta = Dot(b, kToolAxis);
  const double c = Dot(a, b);
  const double den = 1 - c * c;
  const double x = (alpha - c * beta) / den;
  const double y = (beta - c * alpha) / den;
  const double t2 = (1 - (x * x + y * y + 2 * x * y * c)) / den;
  if (t2 < -1e-12)
    return 0;
  const double t = std::sqrt(std::max(0.0, t2));
  const Vec3 n = Cross(a, b);
  int count = 0;
  for (const double sign : {1.0, -1.0}) {
    const Vec3 w = x * a + y * b + (sign * t) * n;
    const double pa = -AngleAbout(k, w, a);
    const double sb = AngleAbout(kToolAxis, w, b);
    out[count++] = {Wrapped(pa / primary_sense_ * kDegrees),
                    Wrapped(sb / secondary_sense_ * kDegrees)};
    if (t == 0)
      break;
  }
  return count;
}

MachinePosition Kinematics::Place(Vec3 tip, double primary, double secondary) const {
  const AxisTurns turns = TurnsAt(primary, secondary);
  const Vec3 p = TableToMachine(tip, turns) - HeadOffset(turns);
  return {p.x, p.y, p.z, primary, secondary};
}

std::optional<MachinePosition> Kinematics::Nearest(const ToolPose& pose,
                                                   const MachinePosition& previous) const {
  Angles solutions[2];
  const int count = Orientations(pose.axis, previous.primary, solutions);
  std::optional<Angles> best;
  double best_cost = 0;
  for (int i = 0; i < count; ++i) {
    const Angles turned{NearestTurn(solutions[i].primary, previous.primary),
                        NearestTurn(solutions[i].secondary, previous.secondary)};
    const double cost = std::fabs(turned.primary - previous.primary) +
                        std::fabs(turned.secondary - previous.secondary);
    if (!best || cost < best_cost) {
      best = turned;
      best_cost = cost;
    }
  }
  if (!best)
    return std::nullopt;
  return Place(pose.tip, best->primary, best->secondary);
}

std::optional<MachinePosition> Kinematics::NearestWithin(const ToolPose& pose,
                                                         const MachinePosition& reference) const {
  Angles solutions[2];
  const double hint = std::clamp(reference.primary, layout_.primary.min, layout_.primary.max);
  const int count = Orientations(pose.axis, hint, solutions);
  std::optional<Angles> best;
  double best_cost = 0;
  for (int i = 0; i < count; ++i) {
    const auto p = NearestTurnWithin(solutions[i].primary, reference.primary, layout_.primary);
    const auto s =
        NearestTurnWithin(solutions[i].secondary, reference.secondary, layout_.secondary);
    if (!p || !s)
      continue;
    const double cost = std::fabs(*p - reference.primary) + std::fabs(*s - reference.secondary);
    if (!best || cost < best_cost) {
      best = Angles{*p, *s};
      best_cost = cost;
    }
  }
  if (!best)
    return std::nullopt;
  return Place(pose.tip, best->primary, best->secondary);
}

std::optional<MachinePosition> Kinematics::First(const ToolPose& pose) const {
  Angles solutions[2];
  const double hint = std::clamp(0.0, layout_.primary.min, layout_.primary.max);
  const int count = Orientations(pose.axis, hint, solutions);
  // Per axis, the turn nearest zero and the one beyond zero from it; then
  // the pair that breaks fewest preferences (the secondary's weighs more),
  // then the pair nearest zero.
  const auto turns = [](double angle, const RotaryAxis& axis, double out[2]) {
    const auto nearest = NearestTurnWithin(angle, 0, axis);
    if (!nearest)
      return 0;
    out[0] = *nearest;
    const double other = *nearest + (*nearest > 0 ? -360 : 360);
    if (*nearest == 0 || other < axis.min - kLimitSlack || other > axis.max + kLimitSlack)
      return 1;
    out[1] = other;
    return 2;
  };
  const RotaryAxis& pa = layout_.primary;
  const RotaryAxis& sa = layout_.secondary;
  std::optional<Angles> best;
  int best_broken = 0;
  double best_size = 0;
  for (int i = 0; i < count; ++i) {
    double p[2];
    double s[2];
    const int p_count = turns(solutions[i].primary, pa, p);
    const int s_count = turns(solutions[i].secondary, sa, s);
    for (int j = 0; j < p_count; ++j) {
      for (int k = 0; k < s_count; ++k) {
        const int broken =
            (sa.preferred_sign * s[k] < 0 ? 2 : 0) + (pa.preferred_sign * p[j] < 0 ? 1 : 0);
        const double size = std::fabs(p[j]) + std::fabs(s[k]);
        if (!best || broken < best_broken || (broken == best_broken && size < best_size)) {
          best = Angles{p[j], s[k]};
          best_broken = broken;
          best_size = size;
        }
      }
    }
  }
  if (!best)
    return std::nullopt;
  return Place(pose.tip, best->primary, best->secondary);
}

bool Kinematics::WithinLimits(const MachinePosition& m) const {
  const auto within = [](double angle, const RotaryAxis& axis) {
    return angle >= axis.min - kLimitSlack && angle <= axis.max + kLimitSlack;
  };
  return within(m.primary, layout_.primary) && within(m.secondary, layout_.secondary);
}

}  // namespace zu::kin
