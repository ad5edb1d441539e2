// The picture of the 120,000-move example (zuhost plot's work) against
// loading the same document: the document is made by the examples'
// generator, written as JSON, then timed loaded and drawn, from the top and
// isometrically. Prints each drawing's time and its ratio to the load, and
// whether the picture takes under a second.
#include <cmath>
#include <cstdio>
#include <string>

#include "bench/timing.h"
#include "drawing/svg_picture.h"
#include "examples/generator/example_paths.h"
#include "hostapp/part_document.h"
#include "pathpicture/path_picture.h"

namespace zu {
namespace {

constexpr long kMoves = 120000;

int Main(int argc, char** argv) {
  auto documents = zuexamples::MakeExampleDocuments(kMoves);
  const std::string json = zuhost::FormatPartDocument(*documents.back().document);
  const zuhost::DocumentLoad check = zuhost::ParsePartDocument(json, "large.json");
  if (!check.document) {
    std::printf("the example does not load: %s\n", check.error.c_str());
    return 1;
  }
  std::vector<const OrvoPath*> paths;
  for (const auto& path : check.document->paths)
    paths.push_back(path.get());
  long moves = 0;
  for (const OrvoPath* path : paths)
    moves += path->MoveCount();
  // The picture is checked once: every move drawn, nothing refused.
  const draw::SvgDrawing once = draw::DrawSvg(zuhost::PicturePaths(paths, {"large.json"}));
  if (!once.problem.empty() || once.moves != static_cast<std::size_t>(moves)) {
    std::printf("the picture drew %zu of %ld moves: %s\n", once.moves, moves, once.problem.c_str());
    return 1;
  }
  const auto draw = [&](draw::View view) {
    return draw::DrawSvg(zuhost::PicturePaths(paths, {"large.json"}), {view}).svg.size();
  };
  const std::size_t items = static_cast<std::size_t>(moves);
  const std::vector<bench::Timed> bodies = {
      {"load", items,
       [&] { return zuhost::ParsePartDocument(json, "large.json").document->paths.size(); }},
      {"draw top", items, [&] { return draw(draw::View::kTop); }},
      {"draw iso", items, [&] { return draw(draw::View::kIso); }},
  };
  const auto per_move = bench::TimeEach(argc, argv, bodies);
  if (std::isnan(per_move[0]) || std::isnan(per_move[1]) || std::isnan(per_move[2]))
    return 0;
  const double load_s = per_move[0] * moves / 1e9, top_s = per_move[1] * moves / 1e9,
               iso_s = per_move[2] * moves / 1e9;
  std::printf(
      "picture of %ld moves (%.1f MB of SVG): drawn from the top in %.3f s, isometric in %.3f s; "
      "loading the document (%.1f MB of JSON) %.3f s: the picture takes %.2fx / %.2fx the load "
      "time (%s); under a second: %s\n",
      moves, once.svg.size() / 1e6, top_s, iso_s, json.size() / 1e6, load_s, top_s / load_s,
      iso_s / load_s, bench::HarnessName(), top_s < 1 && iso_s < 1 ? "yes" : "no");
  return 0;
}

}  // namespace
}  // namespace zu

int main(int argc, char** argv) {
  return zu::Main(argc, argv);
}
