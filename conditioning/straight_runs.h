// The runs of straight cuts in a row that the optimisation step replaces: a
// run is two or more consecutive line moves of segment kind 4 (cutting
// feed). A move that starts or ends cutter compensation ends a run and is
// never part of one, so that its mark reaches the output on the move it was
// made for.
#pragma once

#include <functional>

#include "host/path_model.h"

namespace zu {

// Moves linked first to last (last->next is null); both null for none.
struct MoveChain {
  tool_block* first = nullptr;
  tool_block* last = nullptr;

  // Links `move` after the last one.
  void Append(tool_block* move);
  // Frees the moves (NcFreeRows) and empties the chain.
  void Free();
};

// Whether `move` may belong to a run.
bool IsStraightCut(const tool_block& move);

// What to put in place of a run: the `count` moves from `first` on (count
// >= 2), the first being move `index` of the row (from 0, as the row stands
// when the run is found). The fitter reads the run and must not change it;
// it returns the new moves, or an empty chain to keep the run as it is.
using RunFitter = std::function<MoveChain(const tool_block* first, int count, int index)>;

// Whether the chain is one connected stretch from `start` to `end`: its
// first move starts at `start`, each ends where the next starts, the last
// ends at `end`, all within `gap`.
bool ChainJoins(const MoveChain& chain, const XYZ& start, const XYZ& end, double gap);

// Hands every run of `row` to `fit` in order, the run that ends the row
// included, and splices each returned chain into the row in place of its
// run, whose moves are freed. A run at the row's start makes the chain's
// first move the row's first. Returns the number of runs replaced.
int ReplaceStraightRuns(tool_row& row, const RunFitter& fit);

}  // namespace zu
