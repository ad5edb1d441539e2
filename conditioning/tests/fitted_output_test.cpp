// The comparison the road tests rely on finds what it is there to find: a
// fitted stretch too far from its run, a changed block outside the runs, and
// moves that stop short of the run's end.
#include <gtest/gtest.h>

#include "conditioning/testing/fitted_output.h"

namespace zu::fitcheck {
namespace {

WrittenStep Line(double x, double y) {
  WrittenStep step;
  step.type = WrittenStep::Type::Line;
  step.end = {x, y, 0};
  return step;
}

WrittenStep Feed(int code) {
  WrittenStep step;
  step.tag = "feedtype " + std::to_string(code);
  step.feed_change = true;
  return step;
}

// From (0, 0): a run of ten cuts along X, over a feed change, then a flag.
WrittenPath Plain() {
  WrittenPath path = {Line(0, 0), Feed(3), Line(1, 0), Feed(5)};
  for (int x = 2; x <= 10; ++x)
    path.push_back(Line(x, 0));
  WrittenStep flag;
  flag.tag = "toolcmpflag 0";
  path.push_back(flag);
  path.push_back(Line(10, 5));
  return path;
}

WrittenPath WithRun(const std::vector<WrittenStep>& moves) {
  WrittenPath path = {Line(0, 0), Feed(3)};
  path.insert(path.end(), moves.begin(), moves.end());
  const WrittenPath plain = Plain();
  path.insert(path.end(), plain.end() - 2, plain.end());
  return path;
}

TEST(FittedOutput, AcceptsAFitWithinTheToleranceAndFindsWhatIsNot) {
  const auto good = CompareFittedPaths({Plain()}, {WithRun({Line(10, 0)})}, 0.01);
  EXPECT_EQ(good.problem, "");
  EXPECT_EQ(good.runs, 1u);
  EXPECT_EQ(good.plain_moves - good.optimised_moves, 9u);

  // Through (5, 0.02): 0.02 off the run.
  const auto far = CompareFittedPaths({Plain()}, {WithRun({Line(5, 0.02), Line(10, 0)})}, 0.01);
  EXPECT_GT(far.violations, 0u);
  EXPECT_NE(far.problem, "");

  const auto short_of_end = CompareFittedPaths({Plain()}, {WithRun({Line(9, 0)})}, 0.01);
  EXPECT_NE(short_of_end.problem, "");

  WrittenPath changed = WithRun({Line(10, 0)});
  changed.back().end.y = 6;
  EXPECT_NE(CompareFittedPaths({Plain()}, {changed}, 0.01).problem, "");
  EXPECT_NE(CompareFittedPaths({Plain()}, {}, 0.01).problem, "");
}

}  // namespace
}  // namespace zu::fitcheck
