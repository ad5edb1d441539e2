// For tests: an SVG file read back with an XML parser (expat), so that a
// test checks what a reader of the file sees, not the text it expects.
// Native build only.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zu::draw::testing {

struct SvgElement {
  std::string name;  // "line", "path", ...
  std::map<std::string, std::string> attributes;
  std::string text;       // character data directly inside it
  std::string path_name;  // data-name of the "path" group it lies in, if any
  bool in_path = false;   // it lies in such a group

  bool HasClass(std::string_view css_class) const;
  // The attribute as a number; NaN where it is missing or no number.
  double Number(const std::string& attribute) const;
};

struct SvgFile {
  bool ok = false;
  std::string error;                 // the parser's message and line where not ok
  std::vector<SvgElement> elements;  // in document order, the root first

  std::vector<const SvgElement*> WithClass(std::string_view css_class) const;
  // The moves drawn: elements of a path's group of class "feed" or "rapid",
  // in order.
  std::vector<const SvgElement*> Moves() const;
};

SvgFile ReadSvg(std::string_view text);

// The numbers of a "points" or "d" attribute in order (commands and commas
// skipped).
std::vector<double> NumbersOf(std::string_view text);

}  // namespace zu::draw::testing
