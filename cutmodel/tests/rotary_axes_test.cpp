// Reading for a machine with rotary axes: five-axis records and tilted
// systems become steps with tool axes instead of refusals.
#include <gtest/gtest.h>

#include <cmath>

#include "cutmodel/from_post_path.h"
#include "cutmodel/from_tool_location.h"
#include "format_io/testing/file_bytes.h"
#include "postpath_file/file_reader.h"
#include "toolloc_file/file_reader.h"

namespace zu::cut {
namespace {

constexpr ModelOptions kRotary{.rotary_axes = true};

std::string ReadGolden(const std::string& name) {
  return fio_testing::FileBytes(std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name);
}

ToolLocationFile TextFile(const std::string& name) {
  ToolLocationFile file;
  ToolLocationFileBuilder builder(file);
  EXPECT_TRUE(ReadToolLocationFile(ReadGolden(name), builder).ok) << name;
  return file;
}

ppf::PostPathFile MainFile(const std::string& name) {
  ppf::PostPathFile file;
  ppf::PostPathFileBuilder builder(file);
  EXPECT_TRUE(ppf::ReadPostPathFile(ReadGolden(name), builder).ok) << name;
  return file;
}

double Length(const Vec& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

void ExpectNear(const Vec& a, const Vec& b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-12) << what;
  EXPECT_NEAR(a.y, b.y, 1e-12) << what;
  EXPECT_NEAR(a.z, b.z, 1e-12) << what;
}

TEST(RotaryAxes, FiveAxisLinesTakeTheirMappedUnitAxisAndArcsKeepTheAxisBefore) {
  ToolLocationFile file = TextFile("dwell.pmf");
  ToolLocationPath& record = file.paths.at(0);
  record.mill_keys->path_type = kPathTypeFiveAxis;
  // The path's system turned 90 degrees about Z: its Y is the machine's -X.
  record.placement->frame.x_axis = {0, 10, 0};
  record.placement->frame.y_axis = {-10, 0, 0};
  zu::Block line;
  line.end = {1, 0, 0};
  line.end_vector = zu::Vec3{0, 1.2, 1.6};  // length 2
  zu::Block arc;
  arc.type = BlockType::Arc;
  arc.end = {2, 1, 0};
  arc.centre = {1, 1, 0};
  arc.normal = {0, 0, 1};
  zu::Block upright = line;
  upright.end = {3, 0, 0};
  upright.end_vector = zu::Vec3{0, 1e-12, 3};  // Z within rounding
  record.blocks.insert(record.blocks.end(), {line, arc, upright});

  const Path path = FromToolLocationFile(file, kRotary).paths.at(0);
  ASSERT_EQ(path.refusal, "");
  EXPECT_TRUE(path.five_axis);
  ASSERT_GE(path.steps.size(), 3u);
  const std::size_t n = path.steps.size();
  ExpectNear(path.steps[n - 3].axis, {-0.6, 0, 0.8}, "line: mapped and made unit");
  EXPECT_EQ(path.steps[n - 2].kind, Step::Kind::kArc);
  EXPECT_EQ(path.steps[n - 2].axis, path.steps[n - 3].axis) << "arc keeps the line's axis";
  EXPECT_EQ(path.steps[n - 1].axis, (Vec{0, 0, 1})) << "an axis within rounding of Z is Z";
  // Read as before for a three-axis machine.
  EXPECT_NE(FromToolLocationFile(file).paths.at(0).refusal, "");
}

TEST(RotaryAxes, ARecordIsFiveAxisWhereAnAxisLeavesZ) {
  // five_axis.pmf: a five-axis record whose axis starts along Z and turns;
  // milling_3d.pmf: three-axis paths only.
  for (const Path& path : FromToolLocationFile(TextFile("five_axis.pmf"), kRotary).paths)
    EXPECT_TRUE(path.five_axis) << path.name;
  for (const Path& path : FromToolLocationFile(TextFile("milling_3d.pmf"), kRotary).paths)
    EXPECT_FALSE(path.five_axis) << path.name;
}

TEST(RotaryAxes, TiltedSystemsAreKeptWithTheirFrameAndHeightAndAxis) {
  // tilted.pmf: the first path's system at (100, 0, 20), its Z along
  // (0, -0.707, 0.707), safe height 50 in that system.
  const Program program = FromToolLocationFile(TextFile("tilted.pmf"), kRotary);
  const Path& path = program.paths.at(0);
  ASSERT_EQ(path.refusal, "");
  ASSERT_TRUE(path.tilted);
  EXPECT_TRUE(path.five_axis);
  const double c = std::sqrt(0.5);
  ExpectNear(path.tilted->origin, {100, 0, 20}, "origin");
  ExpectNear(path.tilted->y, {0, c, c}, "y made unit");
  ExpectNear(path.tilted->z, {0, -c, c}, "z");
  EXPECT_EQ(path.safe_height, 50.0);
  ASSERT_FALSE(path.steps.empty());
  for (const Step& step : path.steps) {
    if (step.kind == Step::Kind::kDwell)
      continue;
    EXPECT_EQ(step.axis, path.tilted->z);
    if (step.kind == Step::Kind::kArc) {
      EXPECT_NEAR(Length(step.normal), 1, 1e-12);
      EXPECT_NEAR(std::fabs(step.normal.y * -c + step.normal.z * c), 1, 1e-12)
          << "an XY arc of the system turns about its Z";
    }
  }
}

TEST(RotaryAxes, HolesInATiltedSystemAreRefusedNamingWhy) {
  ToolLocationFile file = TextFile("tilted.pmf");
  ToolLocationPath& record = file.paths.at(0);
  record.mill_keys.reset();
  record.blocks.clear();
  record.holes = std::vector<Vec3>{{1, 2, 0}};
  EXPECT_EQ(FromToolLocationFile(file, kRotary).paths.at(0).refusal,
            "its holes lie in a tilted coordinate system, where drilling is not written");
}

TEST(RotaryAxes, TheMainRoadsFiveAxisAndTiltedBracketsAreRead) {
  for (const char* name : {"main_five_axis.pmf", "main_tilted.pmf", "main_tilted_plane.pmf"}) {
    const Program program = FromPostPathFile(MainFile(name), kRotary);
    bool five_axis = false;
    for (const Path& path : program.paths) {
      EXPECT_EQ(path.refusal.find("rotary"), std::string::npos) << name << ": " << path.refusal;
      five_axis = five_axis || path.five_axis;
      for (const Step& step : path.steps) {
        if (step.kind != Step::Kind::kDwell) {
          EXPECT_NEAR(Length(step.axis), 1, 1e-12) << name;
        }
      }
    }
    EXPECT_TRUE(five_axis) << name;
  }
}

}  // namespace
}  // namespace zu::cut
