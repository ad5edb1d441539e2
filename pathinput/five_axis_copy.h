// The copy the five-axis writers of both roads work on: the path's rows of
// points with tool axes, as the host resamples them, in the path's work
// system.
#pragma once

#include <memory>

#include "host/path_model.h"

namespace zu {

// Rows handed to the host's resampling are cut to at most this many points.
inline constexpr int kResampledRowPoints = 500;

// The rows of `rows`, each resampled by the host (NcResampleRows5 with at most
// `max_points` points a piece) and its pieces joined again into one row: the
// host splits a long row into pieces that share their boundary point, and a
// row's cutting runs, links and leading skipped points belong to the row, not
// to a piece. Owned by the caller (NcFreeRows5).
nc_row_5* ResampledRowsJoined(const nc_row_5* rows, int max_points);

// A clone of the five-axis path `path` with its rows resampled and joined
// (ResampledRowsJoined with kResampledRowPoints), every point and tool axis
// of every row mapped through the matrix of the path's work system; the axes
// are split into unit vectors as the host does.
std::unique_ptr<OrvoPath> MakeFiveAxisWorkingCopy(const OrvoPath& path);

}  // namespace zu
