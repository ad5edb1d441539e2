// The fitter's element a move of the host's path model stands for: a line
// from its start to its end, or an arc with the centre, normal, radius and
// sweep of its nc_arc (the normal from the arc's two axis points). For
// checking and drawing what the optimisation step put into a row.
#pragma once

#include "host/path_model.h"
#include "pathfit/fit.h"

namespace zu::pathfit {

FitElement ElementOfMove(const tool_block& move);

}  // namespace zu::pathfit
