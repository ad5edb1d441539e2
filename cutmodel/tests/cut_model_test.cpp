#include <gtest/gtest.h>

#include <cmath>

#include "cutmodel/from_tool_location.h"
#include "cutmodel/internal/drilling.h"
#include "cutmodel/internal/frame_map.h"
#include "format_io/testing/file_bytes.h"
#include "toolloc_file/file_reader.h"

namespace zu::cut {
namespace {

std::string ReadGolden(const std::string& name) {
  return fio_testing::FileBytes(std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name);
}

Program TextRoad(const std::string& name) {
  ToolLocationFile file;
  ToolLocationFileBuilder builder(file);
  EXPECT_TRUE(ReadToolLocationFile(ReadGolden(name), builder).ok) << name;
  return FromToolLocationFile(file);
}

TEST(CutModel, TheTextFilesFeedTypesAndCompensationBelongToTheMoveBeforeThem) {
  // milling_2d: rapid to (-5,-5,-5), then (0,0,-5) at feed type 3 (600)
  // starting compensation, (60,0,-5) at type 5 (800), ... and the lead-out
  // at type 6 (1200) ending it.
  const Program program = TextRoad("milling_2d.pmf");
  const std::vector<Step>& steps = program.paths.at(0).steps;
  ASSERT_GE(steps.size(), 8u);
  EXPECT_EQ(steps[0].kind, Step::Kind::kRapid);
  EXPECT_EQ(steps[1].end, (Vec{0, 0, -5}));
  EXPECT_EQ(steps[1].feed, 600);
  EXPECT_EQ(steps[1].compensation, Side::kLeft);
  EXPECT_EQ(steps[2].feed, 800);
  EXPECT_EQ(steps[2].compensation, Side::kLeft);
  EXPECT_EQ(steps[7].end, (Vec{-5, -5, -5}));
  EXPECT_EQ(steps[7].feed, 1200);
  EXPECT_EQ(steps[7].compensation, Side::kOff);
}

TEST(CutModel, FixtureRetractIsFollowedByTheMoveToTheHomePoint) {
  const Program program = TextRoad("tilted_jig.pmf");
  for (const Path& path : program.paths) {
    if (!path.refusal.empty() || path.steps.size() < 2)
      continue;
    EXPECT_EQ(path.steps[1].end, *path.home) << path.name;
  }
}

TEST(CutModel, WhatNoMachineCanCutRefusesThePathNamingWhy) {
  ToolLocationFile base;
  ToolLocationFileBuilder builder(base);
  ASSERT_TRUE(ReadToolLocationFile(ReadGolden("dwell.pmf"), builder).ok);
  const struct Case {
    const char* what;
    void (*change)(ToolLocationFile&);
    const char* refusal;
  } cases[] = {
      {"a feed of 0", [](ToolLocationFile& f) { f.paths[0].mill_keys->feed.a = 0; },
       "feed type 5 has a feed of 0"},
      {"a feed type out of range",
       [](ToolLocationFile& f) {
         for (zu::Block& b : f.paths[0].blocks) {
           if (b.type == BlockType::FeedType)
             b.code = 10;
         }
       },
       "feed type 10 is not 1 to 9"},
      {"a compensation flag out of range",
       [](ToolLocationFile& f) {
         zu::Block flag;
         flag.type = BlockType::Compensation;
         flag.code = 3;
         f.paths[0].blocks.push_back(flag);
       },
       "compensation flag 3 is not 0, 1 or 2"},
      {"an unreadable dwell text",
       [](ToolLocationFile& f) { f.paths[0].mill_keys->dwell_text = "wait"; },
       "its dwell text \"wait\" gives no dwell time"},
      {"an arc about a slanted axis",
       [](ToolLocationFile& f) {
         zu::Block arc;
         arc.type = BlockType::Arc;
         arc.end = {1, 0, 0};
         arc.normal = {0, 1, 1};
         f.paths[0].blocks.push_back(arc);
       },
       "an arc lies in a plane other than XY, ZX or YZ"},
      {"a tool not in the list", [](ToolLocationFile& f) { f.paths[0].start.tool_index = 99; },
       "its tool 99 is not in the tool list"},
      {"a five-axis record whose tool axis turns",
       [](ToolLocationFile& f) {
         f.paths[0].mill_keys->path_type = 5;
         zu::Block line;
         line.end = {1, 0, 0};
         line.end_vector = Vec3{0, 0.6, 0.8};
         f.paths[0].blocks.push_back(line);
       },
       "its tool axis turns away from the machine's Z (0.000000, 0.600000, 0.800000): its code "
       "needs rotary axes"},
      {"a five-axis record whose tool axis stays Z (three-axis motion)",
       [](ToolLocationFile& f) {
         f.paths[0].mill_keys->path_type = 5;
         zu::Block line;
         line.end = {1, 0, 0};
         line.end_vector = Vec3{0, 0, 2};
         f.paths[0].blocks.push_back(line);
       },
       ""},
  };
  for (const Case& c : cases) {
    ToolLocationFile file = base;
    c.change(file);
    EXPECT_EQ(FromToolLocationFile(file).paths.at(0).refusal, c.refusal) << c.what;
  }
  EXPECT_EQ(FromToolLocationFile(base).paths.at(0).refusal, "");
}

TEST(CutModel, CoordinateSystemsTurnedAboutZAreMappedTiltedOnesRefused) {
  const double c = std::sqrt(0.5);
  // Turned 45 degrees about Z and moved; axes of length 10 as the host keeps them.
  const internal::FrameMap turned({100, 50, 5}, {10 * c, 10 * c, 0}, {-10 * c, 10 * c, 0},
                                  {0, 0, 10});
  EXPECT_EQ(turned.refusal(), "");
  const Vec p = turned.Point({10, 0, -2});
  EXPECT_NEAR(p.x, 100 + 10 * c, 1e-12);
  EXPECT_NEAR(p.y, 50 + 10 * c, 1e-12);
  EXPECT_NEAR(p.z, 3, 1e-12);
  const Vec d = turned.Direction({0, 0, -1});
  EXPECT_EQ(d, (Vec{0, 0, -1}));
  const internal::FrameMap tilted({0, 0, 0}, {1, 0, 0}, {0, c, c}, {0, -c, c});
  EXPECT_NE(tilted.refusal().find("tilted"), std::string::npos);
  const internal::FrameMap skew({0, 0, 0}, {1, 0, 0}, {0.1, 1, 0}, {0, 0, 1});
  EXPECT_NE(skew.refusal().find("right angles"), std::string::npos);
  const internal::FrameMap flat({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0});
  EXPECT_NE(flat.refusal().find("length zero"), std::string::npos);
}

TEST(CutModel, DwellTextsGiveSeconds) {
  const struct {
    const char* text;
    bool ok;
    double seconds;
  } cases[] = {
      {"G04 X0.5", true, 0.5},
      {"G4 P1000", true, 1},
      {"G04 F2", true, 2},
      {"1.5", true, 1.5},
      {" g04 u0.25 ", true, 0.25},
      {"G04", false, 0},
      {"G05 X1", false, 0},
      {"G04 X-1", false, 0},
      {"G04 Q1", false, 0},
      {"G04 X1 Y2", false, 0},
      {"", false, 0},
  };
  for (const auto& c : cases) {
    double seconds = -1;
    EXPECT_EQ(internal::DwellSeconds(c.text, seconds), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(seconds, c.seconds) << c.text;
    }
  }
}

TEST(CutModel, DrillModesAndHoleLevels) {
  const std::pair<int, int> modes[] = {{0, 81}, {1, 81},  {2, 82},  {3, 83}, {6, 86},
                                       {9, 89}, {73, 73}, {81, 81}, {89, 89}};
  for (const auto& [mode, cycle] : modes)
    EXPECT_EQ(internal::CycleOfDrillMode(mode), cycle) << mode;
  for (int mode : {-1, 7, 8, 10, 80, 87, 88, 90})
    EXPECT_FALSE(internal::CycleOfDrillMode(mode)) << mode;
  // Depth by its size whatever its sign; R and initial planes above the top.
  for (double depth : {12.5, -12.5}) {
    Path path;
    internal::SetDrilling({81, 80, 5, 2, depth, 0, 0}, {{10, 10, 1}}, path);
    ASSERT_EQ(path.holes.size(), 1u);
    EXPECT_EQ(path.holes[0].bottom, 1 - 12.5);
    EXPECT_EQ(path.holes[0].r_plane, 3);
    EXPECT_EQ(path.holes[0].initial, 6);
  }
  Path no_peck;
  internal::SetDrilling({83, 80, 5, 2, 10, 0, 0}, {{0, 0, 0}}, no_peck);
  EXPECT_EQ(no_peck.refusal, "a peck drilling cycle needs a peck depth above 0");
}

}  // namespace
}  // namespace zu::cut
