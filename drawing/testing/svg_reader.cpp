#include "drawing/testing/svg_reader.h"

#include <expat.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace zu::draw::testing {

namespace {

struct State {
  SvgFile* file = nullptr;
  std::vector<std::size_t> open;  // indices of the open elements
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& state = *static_cast<State*>(data);
  SvgElement element;
  element.name = name;
  for (int i = 0; attributes[i]; i += 2)
    element.attributes[attributes[i]] = attributes[i + 1];
  for (std::size_t k : state.open) {
    const SvgElement& parent = state.file->elements[k];
    if (parent.name == "g" && parent.HasClass("path")) {
      element.in_path = true;
      element.path_name = parent.attributes.at("data-name");
    }
  }
  state.open.push_back(state.file->elements.size());
  state.file->elements.push_back(std::move(element));
}

void OnEnd(void* data, const XML_Char*) {
  static_cast<State*>(data)->open.pop_back();
}

void OnText(void* data, const XML_Char* text, int length) {
  auto& state = *static_cast<State*>(data);
  if (!state.open.empty())
    state.file->elements[state.open.back()].text.append(text, static_cast<std::size_t>(length));
}

}  // namespace

bool SvgElement::HasClass(std::string_view css_class) const {
  const auto found = attributes.find("class");
  if (found == attributes.end())
    return false;
  std::istringstream words(found->second);
  std::string word;
  while (words >> word) {
    if (word == css_class)
      return true;
  }
  return false;
}

double SvgElement::Number(const std::string& attribute) const {
  const auto found = attributes.find(attribute);
  if (found == attributes.end())
    return NAN;
  char* end = nullptr;
  const double value = std::strtod(found->second.c_str(), &end);
  return end && *end == '\0' && end != found->second.c_str() ? value : NAN;
}

std::vector<const SvgElement*> SvgFile::WithClass(std::string_view css_class) const {
  std::vector<const SvgElement*> found;
  for (const SvgElement& element : elements) {
    if (element.HasClass(css_class))
      found.push_back(&element);
  }
  return found;
}

std::vector<const SvgElement*> SvgFile::Moves() const {
  std::vector<const SvgElement*> moves;
  for (const SvgElement& e : elements) {
    if (e.in_path && (e.HasClass("feed") || e.HasClass("rapid")))
      moves.push_back(&e);
  }
  return moves;
}

SvgFile ReadSvg(std::string_view text) {
  SvgFile file;
  State state{&file, {}};
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &state);
  XML_SetElementHandler(parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser, OnText);
  file.ok =
      XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
  if (!file.ok) {
    file.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                 std::to_string(XML_GetCurrentLineNumber(parser));
  }
  XML_ParserFree(parser);
  return file;
}

std::vector<double> NumbersOf(std::string_view text) {
  std::vector<double> numbers;
  std::string copy(text);
  const char* p = copy.c_str();
  while (*p) {
    char* end = nullptr;
    const double value = std::strtod(p, &end);
    if (end != p) {
      numbers.push_back(value);
      p = end;
    } else {
      ++p;
    }
  }
  return numbers;
}

}  // namespace zu::draw::testing
