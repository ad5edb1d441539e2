// The text road's writer with its optimisation step switched on (entry
// point 5 keeps it off, but the writer has the step as the main road's
// driver has it): what it writes for the sampled example, read back, differs
// from what it writes without the step only where runs of straight cuts
// became lines and arcs that the path fitter's checker accepts.
#include <gtest/gtest.h>

#include <string>

#include "conditioning/testing/fitted_output.h"
#include "framework/testing/test_folder.h"
#include "hostapp/testing/example_session.h"
#include "toolloc/text_road.h"

namespace zu {
namespace {

std::string Written(const TextRoadOptions& options) {
  PickNode* first = zuhost::testing::LoadAndPickAll(ZU_SOURCE_DIR, "sampled.json");
  EXPECT_NE(first, nullptr);
  const TestFolder folder;
  const std::string file = folder.File("zu.pmf");
  const WriteResult result = WriteToolLocationFile(first, options, file);
  EXPECT_TRUE(result.ok) << result.error;
  return zuhost::testing::ReadFile(file);
}

TEST(OptimisedTextRoad, RunsBecomeLinesAndArcsWithinTheToleranceWithEitherOptimiser) {
  TextRoadOptions options;
  options.code_file = "C:\\zu\\NC0001.cut";
  options.mcf_path = "C:\\ORVO\\NCSystems\\FANUC-0i.mcf";
  std::string error;
  const auto plain = fitcheck::ToolLocationSteps(Written(options), error);
  ASSERT_EQ(plain.size(), 2u) << error;
  for (const int selector : {0, 1}) {
    SCOPED_TRACE(selector);
    options.optimize = 1;
    options.tolerance = 0.01;
    options.optimizer_selector = selector;
    const auto optimised = fitcheck::ToolLocationSteps(Written(options), error);
    ASSERT_EQ(optimised.size(), 2u) << error;
    const auto comparison = fitcheck::CompareFittedPaths(plain, optimised, 0.01);
    EXPECT_EQ(comparison.problem, "");
    EXPECT_EQ(comparison.violations, 0u);
    // The first row of each path: the contour's 1516 cuts, the first pass's
    // 200.
    EXPECT_EQ(comparison.runs, 2u);
    EXPECT_GE(comparison.plain_moves - comparison.optimised_moves, 1716u - 9u);
    EXPECT_GE(comparison.fitted_arcs, 5u);
  }
}

}  // namespace
}  // namespace zu
