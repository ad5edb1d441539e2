// The two roads on the same document: the 120,000-move example written as
// the text tool-location file (entry point 5's writer) and as the post-path
// file (entry point 1's, through the host's post-path writer). Prints moves
// per second of each and their ratio, from one run.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/timing.h"
#include "examples/generator/example_paths.h"
#include "hostapp/host_session.h"
#include "postpath/post_path_output.h"
#include "toolloc/text_road.h"

namespace zu {
namespace {

constexpr long kMoves = 120000;

int Main(int argc, char** argv) {
  auto documents = zuexamples::MakeExampleDocuments(kMoves);
  auto& session = zuhost::HostSession::Current();
  session.SetDocument(std::move(documents.back().document));
  g_roughblock = session.document()->stock;
  session.pick_plan.outcome = zuhost::PickPlan::Outcome::Paths;
  session.pick_plan.path_indices = {0};
  PickNode* first = nullptr;
  if (session.GetPicked(first) != kPickDelivered || !first)
    return 1;
  const std::string folder = std::filesystem::temp_directory_path().string();
  const std::string text_file = folder + "/zu_roads_bench.pmf";
  const std::string post_path_file = folder + "/zu_roads_bench_main.pmf";

  TextRoadOptions text_options;
  text_options.code_file = "C:\\bench\\NC0001.cut";
  text_options.mcf_path = "C:\\ORVO\\NCSystems\\FANUC-0i.mcf";
  const MainRoadOptions main_options;
  bool ok = true;
  const std::vector<bench::Timed> bodies = {
      {"text road", static_cast<std::size_t>(kMoves),
       [&] {
         ok = WriteToolLocationFile(first, text_options, text_file).ok && ok;
         return std::filesystem::file_size(text_file);
       }},
      {"main road", static_cast<std::size_t>(kMoves),
       [&] {
         ok =
             WritePostPathFile(first, "C:\\bench\\NC0001.cut", post_path_file.c_str(), main_options)
                 .ok &&
             ok;
         return std::filesystem::file_size(post_path_file);
       }},
  };
  const auto per_move = bench::TimeEach(argc, argv, bodies);
  std::filesystem::remove(text_file);
  std::filesystem::remove(post_path_file);
  if (!ok) {
    std::printf("a road failed to write its file\n");
    return 1;
  }
  if (std::isnan(per_move[0]) || std::isnan(per_move[1]))
    return 0;
  std::printf(
      "text road: %.0f moves/s; main road (post-path writer): %.0f moves/s; "
      "the main road takes %.2fx the text road's time per move (%s)\n",
      1e9 / per_move[0], 1e9 / per_move[1], per_move[1] / per_move[0], bench::HarnessName());
  return 0;
}

}  // namespace
}  // namespace zu

int main(int argc, char** argv) {
  return zu::Main(argc, argv);
}
