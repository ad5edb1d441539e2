// Which APT statements a move needs, given what the bracket has said so
// far, and the values the file shows twice: the writer writes what the plan
// says, the reader checks that the file holds exactly that. Internal to
// postpath_file.
#pragma once

#include <array>
#include <cstdint>

#include "postpath_file/records.h"

namespace zu::ppf_internal {

// What a milling bracket has said so far: its modal states. Every bracket
// starts with none of them.
struct BracketState {
  int feed_type = -1;  // the last block's feed type; -1 before the first block
  int compensation = ppf::kCompensationOff;
  bool multax = false;
  bool fedrat_in_force = false;   // the last feed statement was a FEDRAT ...
  std::uint64_t fedrat_bits = 0;  // ... of this value
};

enum class FeedStatement { None, Fedrat, Rapid };

// The statements of one block, in the order they stand before its GOTO.
struct BlockPlan {
  bool feed_type = false;  // PPRINT/ZU FEEDTYPE: the first block, or a change
  bool dwell = false;      // PPRINT/ZU DWELL: a dwell flag other than -1
  bool mark = false;       // PPRINT/ZU MARK: a position mark other than 0
  int cutcom = -1;         // CUTCOM to this flag, or -1: none
  int multax = -1;         // MULTAX/ON (1) or /OFF (0), or -1: none
  FeedStatement feed = FeedStatement::None;
  double fedrat = 0;    // the value of FEDRAT
  bool circle = false;  // CIRCLE: an arc
};

// The plan of `block` in a bracket whose feeds are `feeds`; its feed type
// must be within 0 to 9. Then `state` follows the block.
BlockPlan PlanBlock(const BracketState& state, const std::array<double, 10>& feeds,
                    const ppf::Block& block);
void Advance(BracketState& state, const ppf::Block& block, const BlockPlan& plan);

// What closes a bracket: CUTCOM/OFF when compensation is on, MULTAX/OFF
// when it is in force.
struct ClosePlan {
  bool cutcom_off = false;
  bool multax_off = false;
};
ClosePlan PlanClose(const BracketState& state);

// The radius of an arc: the distance from its centre to its end point,
// computed the same way wherever it is computed, with correctly rounded
// operations only, so that every build gets the same bits. False when it is
// too large for a double.
[[nodiscard]] bool ArcRadius(const ppf::Block& arc, double& radius);

// Whether the tool's diameter and corner radius make a CUTTER/d,r
// statement: a positive diameter and a corner radius from 0 to half of it.
bool HasCutter(const ppf::Tool& tool);

// Whether the drill record's dwell time makes a DELAY statement: above 0.
bool HasDelay(const ppf::DrillRecord& record);

}  // namespace zu::ppf_internal
