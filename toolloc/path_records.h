// The path records of the text road, one writer per kind of path.
#pragma once

#include "host/path_model.h"
#include "toolloc/text_road.h"

namespace zu {

// A drilling path (kind 67) from its working copy: the head, the drill keys
// when it has a drilling record, and its holes.
void WriteDrillPath(ToolLocationRecords& out, OrvoPath& copy, TextRoadState& state);

// A two- or three-axis milling path from its working copy: the head, the
// mill keys and its moves as blocks, framed by retract moves in the fixture
// system `fixture` when options.use_jig_coord is set.
void WriteMillPath(ToolLocationRecords& out, OrvoPath& copy, TextRoadState& state,
                   const ncworkcoordinate& fixture, const TextRoadOptions& options);

// A five-axis path (MultiAxisKind 500): a clone resampled to rows of at most
// 500 points, mapped into its work system, written as point-and-axis blocks
// with the approach, link and retract moves between its cutting stretches.
void WriteFiveAxisPath(ToolLocationRecords& out, const OrvoPath& path, TextRoadState& state);

}  // namespace zu
