// libFuzzer target: the part document parser on any bytes. A document it
// accepts is saved as text it accepts again, saving that gives the same
// text, and its picture is a whole SVG file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/svg_picture.h"
#include "hostapp/part_document.h"
#include "pathpicture/path_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view json(reinterpret_cast<const char*>(data), size);
  const zuhost::DocumentLoad load = zuhost::ParsePartDocument(json, "fuzz.json");
  if (!load.document)
    return 0;
  const std::string saved = zuhost::FormatPartDocument(*load.document);
  const zuhost::DocumentLoad again = zuhost::ParsePartDocument(saved, "saved.json");
  if (!again.document || zuhost::FormatPartDocument(*again.document) != saved)
    std::abort();
  // Its picture is a whole file whatever the numbers: no "nan" or "inf"
  // printed, and it ends as a whole file does.
  std::vector<const OrvoPath*> paths;
  for (const auto& path : load.document->paths)
    paths.push_back(path.get());
  // Names are cleared: only numbers and the picture's own words remain.
  zu::draw::Picture picture = zuhost::PicturePaths(paths);
  for (zu::draw::Trace& trace : picture.traces)
    trace.name.clear();
  const zu::draw::SvgDrawing drawing = zu::draw::DrawSvg(picture, {zu::draw::View::kIso});
  if (drawing.svg.find("nan") != std::string::npos ||
      drawing.svg.find("inf") != std::string::npos || drawing.svg.size() < 7 ||
      drawing.svg.compare(drawing.svg.size() - 7, 7, "</svg>\n") != 0)
    std::abort();
  return 0;
}
