#include "verification/internal/text.h"

#include <cstdio>

namespace zu::verify::internal {

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string out = text;
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0')
      out.pop_back();
    if (out.back() == '.')
      out.pop_back();
  }
  if (out == "-0")
    out = "0";
  return out;
}

std::string Point(const cut::Vec& point) {
  return "(" + Number(point.x) + ", " + Number(point.y) + ", " + Number(point.z) + ")";
}

}  // namespace zu::verify::internal
