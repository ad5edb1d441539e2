// The report's text, pinned for a failing and a passing result.
#include "verification/check_report.h"

#include <gtest/gtest.h>

namespace zu::verify {
namespace {

TEST(CheckReport, Failing) {
  VerifyResult result;
  result.tolerance = 0.005;
  result.paths = 2;
  result.paths_refused = 1;
  result.moves_compared = 4;
  result.moves_read = 5;
  result.rapids_compared = 2;
  result.holes_compared = 3;
  result.holes_read = 2;
  result.lines_read = 21;
  result.largest_deviation = 0.0125;
  result.deviation_at = {"P1", 1, false, {20, 0.0125, -1}};
  Mismatch& hole = result.mismatches.emplace_back();
  hole.where = {"D1", 1, true, {20, 40, -5}};
  hole.text = "the hole is not in the code";
  result.mismatches.emplace_back().text = "line 7: unknown word A: G1 A5.";
  result.mismatch_count = 3;
  result.notes = {"arcs in G18 written as straight moves"};
  EXPECT_EQ(CheckReport(result, {"C:\\NC\\PART.nc", "C:\\zu.pmf"}),
            "Verification: FAIL\r\n"
            "Code file: C:\\NC\\PART.nc\r\n"
            "Compared with: C:\\zu.pmf\r\n"
            "Tolerance: 0.005 mm\r\n"
            "Paths: 2 compared, 1 not written (refused)\r\n"
            "Moves: 4 feed moves and arcs compared (5 read back)\r\n"
            "Rapid move ends compared: 2\r\n"
            "Holes: 3 compared (2 read back)\r\n"
            "Lines read: 21\r\n"
            "Largest deviation: 0.0125 mm, path \"P1\" move 2 at (20, 0.0125, -1)\r\n"
            "Mismatches: 3\r\n"
            "  path \"D1\" hole 2 at (20, 40, -5): the hole is not in the code\r\n"
            "  line 7: unknown word A: G1 A5.\r\n"
            "  and 1 more\r\n"
            "What the machine could not do, and how it was written:\r\n"
            "  arcs in G18 written as straight moves\r\n");
}

TEST(CheckReport, Passing) {
  VerifyResult result;
  result.ok = true;
  result.tolerance = 0.01;
  result.paths = 1;
  EXPECT_EQ(CheckReport(result),
            "Verification: PASS\r\n"
            "Tolerance: 0.01 mm\r\n"
            "Paths: 1 compared\r\n"
            "Moves: 0 feed moves and arcs compared (0 read back)\r\n"
            "Rapid move ends compared: 0\r\n"
            "Holes: 0 compared (0 read back)\r\n"
            "Lines read: 0\r\n"
            "Largest deviation: 0 mm\r\n"
            "Mismatches: 0\r\n");
}

}  // namespace
}  // namespace zu::verify
