// Numbers and points as the verification's messages and report show them.
#pragma once

#include <string>

#include "cutmodel/cut_model.h"

namespace zu::verify::internal {

// At most four decimals, trailing zeros cut ("12.5", "-0.0125", "3").
std::string Number(double value);
// "(x, y, z)" with Number's digits.
std::string Point(const cut::Vec& point);

}  // namespace zu::verify::internal
