#include "postpath_file/internal/bracket_plan.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zu::ppf_internal {

BlockPlan PlanBlock(const BracketState& state, const std::array<double, 10>& feeds,
                    const ppf::Block& block) {
  BlockPlan plan;
  plan.feed_type = block.feed_type != state.feed_type;
  plan.dwell = block.dwell != ppf::kNoDwell;
  plan.mark = block.position_mark != ppf::kMarkNone;
  if (block.compensation != state.compensation)
    plan.cutcom = block.compensation;
  const bool multax = block.kind == ppf::kBlockLine && block.has_vector;
  if (multax != state.multax)
    plan.multax = multax ? 1 : 0;
  const double feed = feeds[static_cast<std::size_t>(block.feed_type)];
  if (feed < 0) {
    plan.feed = FeedStatement::Rapid;
  } else if (!state.fedrat_in_force || std::bit_cast<std::uint64_t>(feed) != state.fedrat_bits) {
    // A FEDRAT after every RAPID too: post processors that take RAPID as
    // modal go back to the feed only when it is stated again.
    plan.feed = FeedStatement::Fedrat;
    plan.fedrat = feed;
  }
  plan.circle = block.kind == ppf::kBlockArc;
  return plan;
}

void Advance(BracketState& state, const ppf::Block& block, const BlockPlan& plan) {
  state.feed_type = block.feed_type;
  state.compensation = block.compensation;
  state.multax = block.kind == ppf::kBlockLine && block.has_vector;
  if (plan.feed == FeedStatement::Rapid) {
    state.fedrat_in_force = false;
  } else if (plan.feed == FeedStatement::Fedrat) {
    state.fedrat_in_force = true;
    state.fedrat_bits = std::bit_cast<std::uint64_t>(plan.fedrat);
  }
}

ClosePlan PlanClose(const BracketState& state) {
  return {state.compensation != ppf::kCompensationOff, state.multax};
}

bool ArcRadius(const ppf::Block& arc, double& radius) {
  const double dx = arc.end.x - arc.centre.x;
  const double dy = arc.end.y - arc.centre.y;
  const double dz = arc.end.z - arc.centre.z;
  const double largest = std::max({std::fabs(dx), std::fabs(dy), std::fabs(dz)});
  if (!std::isfinite(largest))
    return false;
  if (largest == 0) {
    radius = 0;
    return true;
  }
  if (largest > 1e-150 && largest < 1e150) {
    radius = std::sqrt(dx * dx + dy * dy + dz * dz);
  } else {
    // Scaled by the largest component, so that the squares neither overflow
    // nor vanish.
    const double x = dx / largest;
    const double y = dy / largest;
    const double z = dz / largest;
    radius = largest * std::sqrt(x * x + y * y + z * z);
  }
  return std::isfinite(radius);
}

bool HasCutter(const ppf::Tool& tool) {
  const double diameter = tool.values[ppf::kToolDiameter];
  const double corner = tool.values[ppf::kToolCornerRadius];
  return diameter > 0 && corner >= 0 && corner * 2 <= diameter;
}

bool HasDelay(const ppf::DrillRecord& record) {
  return record.values[ppf::kDrillDwellTime] > 0;
}

}  // namespace zu::ppf_internal
