// The check picture of a small FANUC-0i program: the expected path and the
// program read back drawn over each other, and the stretches farther apart
// than the tolerance circled with their size.
#include "verification/check_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "drawing/testing/svg_reader.h"
#include "gcode/nc_system.h"

namespace zu::verify {
namespace {

using cut::Step;
using cut::Vec;
using zu::draw::testing::ReadSvg;
using zu::draw::testing::SvgElement;
using zu::draw::testing::SvgFile;

const gcode::NcSystem& Fanuc() {
  static const gcode::NcSystem system = [] {
    gcode::NcSystemLoad load =
        gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/FANUC-0i.xml");
    EXPECT_TRUE(load.ok) << load.error;
    return std::move(load.system);
  }();
  return system;
}

// A plunge, a line, a half circle and a line back, then up.
cut::Program Expected() {
  cut::Program program;
  program.tools = {{1, "END MILL 10", 10, 0}};
  cut::Path mill;
  mill.name = "side <1> & \"2\"";
  mill.home = Vec{0, 0, 5};
  mill.safe_height = 50;
  mill.steps = {{Step::Kind::kLine, {0, 0, -1}, {}, {}, 100},
                {Step::Kind::kLine, {20, 0, -1}, {}, {}, 500},
                {Step::Kind::kArc, {20, 20, -1}, {20, 10, -1}, {0, 0, 1}, 500},
                {Step::Kind::kLine, {0, 20, -1}, {}, {}, 500},
                {Step::Kind::kRapid, {0, 20, 5}, {}, {}, 0}};
  program.paths = {mill};
  return program;
}

constexpr const char* kCode =
    "O0001\n"
    "T1 M6\n"
    "G0 G90 G54 X0. Y0.\n"
    "Z50.\n"
    "Z5.\n"
    "G1 Z-1. F100.\n"
    "X20. F500.\n"
    "G3 X20. Y20. I0. J10.\n"
    "G1 X0.\n"
    "G0 Z5.\n"
    "Z50.\n"
    "M30\n";

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos)
    text.replace(at, from.size(), to);
  return text;
}

VerifyResult Verified(const std::string& code) {
  VerifyOptions options;
  options.tolerance = 0.01;
  options.keep_motion = true;
  return VerifyProgram(Expected(), code, Fanuc(), options);
}

SvgFile Drawn(const VerifyResult& result) {
  const auto drawing = zu::draw::DrawSvg(CheckPicture(Expected(), result, {"NC0001"}));
  EXPECT_EQ(drawing.problem, "");
  return ReadSvg(drawing.svg);
}

std::size_t MovesOf(const SvgFile& file, const std::string& path) {
  std::size_t moves = 0;
  for (const SvgElement& e : file.elements)
    moves += e.path_name == path && (e.HasClass("feed") || e.HasClass("rapid"));
  return moves;
}

TEST(CheckPicture, ExpectedPathsAndTheProgramReadBackSuperimposed) {
  const VerifyResult result = Verified(kCode);
  ASSERT_TRUE(result.ok);
  // Every move read back is kept: 3 rapids, 3 feed moves, 1 arc, 2 rapids.
  EXPECT_EQ(result.motion.size(), 9u);
  const SvgFile file = Drawn(result);
  ASSERT_TRUE(file.ok) << file.error;
  EXPECT_EQ(MovesOf(file, "side <1> & \"2\""), 5u);
  // The first rapid starts where the code does not say: not drawn.
  EXPECT_EQ(MovesOf(file, "the program read back"), 8u);
  EXPECT_TRUE(file.WithClass("deviation").empty());
  ASSERT_FALSE(file.WithClass("note").empty());
  EXPECT_EQ(file.WithClass("note")[0]->text, "PASS: largest deviation 0 mm, tolerance 0.01 mm");
}

// The last line ends 0.05 mm off: one circle around it, labelled 0.05 mm.
TEST(CheckPicture, ADeviationIsCircledAndLabelledWithItsSize) {
  const VerifyResult result = Verified(Replaced(kCode, "G1 X0.\n", "G1 X0. Y20.05\n"));
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(result.deviations.size(), 1u);
  EXPECT_EQ(result.deviations[0].first, 3);
  EXPECT_EQ(result.deviations[0].last, 3);
  const SvgFile file = Drawn(result);
  ASSERT_TRUE(file.ok) << file.error;
  const auto circles = file.WithClass("deviation");
  const auto labels = file.WithClass("deviation-size");
  ASSERT_EQ(circles.size(), 1u);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0]->text, "0.05 mm");
  // Around the end of the line, (0, 20) seen from the top.
  const double cx = circles[0]->Number("cx"), cy = circles[0]->Number("cy");
  EXPECT_LE(std::hypot(cx - 0, cy - -20), circles[0]->Number("r"));
}

// The plunge 0.05 mm too deep leaves every cut of the path off by as much:
// one stretch of the four moves, not four circles.
TEST(CheckPicture, ConsecutiveMovesOffMakeOneStretch) {
  const VerifyResult result = Verified(Replaced(kCode, "G1 Z-1. F100.", "G1 Z-1.05 F100."));
  ASSERT_EQ(result.deviations.size(), 1u);
  EXPECT_EQ(result.deviation_count, 1u);
  EXPECT_EQ(result.deviations[0].first, 0);
  EXPECT_EQ(result.deviations[0].last, 3);
  EXPECT_NEAR(result.deviations[0].largest, 0.05, 1e-9);
  const SvgFile file = Drawn(result);
  ASSERT_EQ(file.WithClass("deviation-size").size(), 1u);
  EXPECT_EQ(file.WithClass("deviation-size")[0]->text, "0.05 mm");
}

TEST(CheckPicture, KeptStretchesAreCountedBeyondTheLimit) {
  VerifyOptions options;
  options.tolerance = 0.01;
  options.max_deviations = 0;
  const VerifyResult result =
      VerifyProgram(Expected(), Replaced(kCode, "G1 X0.\n", "G1 X0. Y20.05\n"), Fanuc(), options);
  EXPECT_TRUE(result.deviations.empty());
  EXPECT_EQ(result.deviation_count, 1u);
  EXPECT_TRUE(result.motion.empty());  // not asked for
}

}  // namespace
}  // namespace zu::verify
