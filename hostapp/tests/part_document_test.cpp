// The part document: what it holds survives a save and a load, and every
// kind of bad document is refused whole with the file and the field named.
#include "hostapp/part_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "framework/testing/test_folder.h"

namespace {

using zuhost::FormatPartDocument;
using zuhost::ParsePartDocument;

// One path of every class, with parameter records, geometry, both move
// kinds and five-axis points.
const char* const kDocument = R"({
 "format": "zuhost part document",
 "version": 1,
 "stock": {"corner": [-10, -10, -30], "size": [140, 100, 30]},
 "current_coordinate_system": {"name": "fix", "origin": [0, 0, 0], "x_axis": [10, 0, 0],
   "y_axis": [0, 10, 0], "z_axis": [0, 0, 1], "matrix": [1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]},
 "paths": [
  {"name": "drill", "class": "drill", "kind": 67, "class_code": 2300, "multi_axis_kind": 0,
   "wcs": {"name": "", "origin": [0, 0, 0], "x_axis": [10, 0, 0], "y_axis": [0, 10, 0],
           "z_axis": [0, 0, 1], "matrix": [1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]},
   "tool": {"int1": 3, "int2": 4, "dimensions": [8.5, 0, 60, 30, 0, 0, 0], "name": "DR8.5"},
   "feed": [1200, 80, 0, 0, 0, 0, 0],
   "heights": {"safe": 50, "safe_mode": 1, "approach": 5, "approach_mode": 0, "five_axis_safe": 0,
               "five_axis_link": 0, "five_axis_approach_distance": 0},
   "parameters": {"spindle_speed": 1200, "drill_mode": 2, "drill_feed": 80, "peck_depth": 2.5,
     "work_surface": 0, "hole_depth": 15, "clearance": 3, "dwell_time": 0.5, "safe_distance": 2,
     "user": ["M08","","","","","","","","","","","","","","","","","","","u20"]},
   "geometry": {"drill_points": [[10, 10, 0], [30, 10, 0]]},
   "rows": [[[1, 9, 0, 7, 10, 10, 50, 10, 10, 3]]]},
  {"name": "macro", "class": "2d", "kind": 90, "class_code": 2300, "multi_axis_kind": 0,
   "wcs": {"name": "tilted", "origin": [1, 2, 3], "x_axis": [10, 0, 0], "y_axis": [0, 10, 0],
           "z_axis": [0, 0, 1], "matrix": [1,0,0,-1, 0,1,0,-2, 0,0,1,-3, 0,0,0,1]},
   "tool": {"int1": 1, "int2": 0, "dimensions": [10, 0, 75, 40, 10, 0, 0], "name": "D10"},
   "feed": [3000, 800, 1200, 400, 600, 0.25, 0.125],
   "heights": {"safe": 50, "safe_mode": 0, "approach": 5, "approach_mode": 0, "five_axis_safe": 0,
               "five_axis_link": 0, "five_axis_approach_distance": 0},
   "parameters": {"machine_tool_cmp": 1, "macros": {"#101": {"texts": ["depth", "mm", "-5"], "value": 1},
                                                   "#102": {"texts": ["feed", "", "800"], "value": 2}}},
   "geometry": {"curves": [[[0, 0, 0], [10, 0, 0]], [[10, 0, 0]]]},
   "rows": [[[1, 9, 0, 7, 0, 0, 50, 0, 0, 2],
             [2, 4, 0, -5, 10, 0, -5, 0, 0, -5, 10, 10, -5, 0, 0, -5, 20, 0, -5, 10, -3.141592653589793]],
            [],
            [[7, 4, 0, -6, 20, 0, -5, 30, 0, -5]]]},
  {"name": "side", "class": "3d", "kind": 62, "class_code": 2301, "multi_axis_kind": 0,
   "wcs": {"name": "", "origin": [0, 0, 0], "x_axis": [10, 0, 0], "y_axis": [0, 10, 0],
           "z_axis": [0, 0, 1], "matrix": [1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]},
   "tool": {"int1": 1, "int2": 0, "dimensions": [10, 0, 75, 40, 10, 0, 0], "name": "D10"},
   "feed": [3000, 800, 1200, 400, 600, 0, 0],
   "heights": {"safe": 50, "safe_mode": 0, "approach": 5, "approach_mode": 0, "five_axis_safe": 0,
               "five_axis_link": 0, "five_axis_approach_distance": 0},
   "parameters": {"side": 0, "compensation": 1, "skip_switch": 1, "skip_count": 2},
   "rows": [[[1, 4, 0, 7, 0.1, 0.2, 0.30000000000000004, 1e-7, -0.0, 12345.678901234567]]]},
  {"name": "five", "class": "five_axis", "kind": 7, "class_code": 2302, "multi_axis_kind": 500,
   "wcs": {"name": "", "origin": [0, 0, 0], "x_axis": [10, 0, 0], "y_axis": [0, 10, 0],
           "z_axis": [0, 0, 1], "matrix": [1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]},
   "tool": {"int1": 1, "int2": 0, "dimensions": [10, 5, 75, 40, 10, 0, 0], "name": "R5"},
   "feed": [3000, 800, 1200, 400, 600, 0, 0],
   "heights": {"safe": 0, "safe_mode": 2, "approach": 0, "approach_mode": 3, "five_axis_safe": 80,
               "five_axis_link": 30, "five_axis_approach_distance": 5},
   "rows5": [[[0, 0, 0, 0, 0, 1, 1], [1, 0, 0, 0, 0.1, 0.99, 0], [2, 0, 0, 0, 0, 1, 255]], []]},
  {"name": "empty", "class": "2d", "kind": 65, "class_code": 2300, "multi_axis_kind": 0,
   "wcs": {"name": "", "origin": [0, 0, 0], "x_axis": [10, 0, 0], "y_axis": [0, 10, 0],
           "z_axis": [0, 0, 1], "matrix": [1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]},
   "tool": {"int1": 1, "int2": 0, "dimensions": [10, 0, 75, 40, 10, 0, 0], "name": "D10"},
   "feed": [3000, 800, 1200, 400, 600, 0, 0],
   "heights": {"safe": 50, "safe_mode": 0, "approach": 5, "approach_mode": 0, "five_axis_safe": 0,
               "five_axis_link": 0, "five_axis_approach_distance": 0},
   "parameters": {"dwell_text": "G04 X0.5", "dwell": 1}}
 ]
})";

TEST(PartDocument, LoadsEveryField) {
  auto loaded = ParsePartDocument(kDocument, "doc.json");
  ASSERT_TRUE(loaded.document) << loaded.error;
  const auto& paths = loaded.document->paths;
  ASSERT_EQ(paths.size(), 5u);
  EXPECT_STREQ(loaded.document->current_system.name, "fix");

  auto* drill = dynamic_cast<OrvoDrillPath*>(paths[0].get());
  ASSERT_NE(drill, nullptr);
  EXPECT_EQ(drill->drill.drill_mode, 2);
  EXPECT_EQ(drill->drill.user[19], "u20");
  EXPECT_EQ(drill->Tool.int2, 4);
  EXPECT_EQ(drill->safe_height_mode, 1);
  EXPECT_EQ(drill->geometry->drill_points.size(), 2u);

  OrvoPath& macro = *paths[1];
  EXPECT_STREQ(macro.wcs.name, "tilted");
  EXPECT_EQ(macro.wcs.matrix.m[2][3], -3);
  EXPECT_EQ(macro.feed.unused2, 0.125);
  auto* parameters = dynamic_cast<OrvoPath_MacroMachining*>(macro.GetSubPara());
  ASSERT_NE(parameters, nullptr);
  EXPECT_EQ(parameters->GetMachineToolCmp(), 1);
  EXPECT_EQ(parameters->parameters.at("#102").text3, "800");
  const tool_block* arc = macro.rows->first->next;
  ASSERT_EQ(arc->kind, kMoveArc);
  EXPECT_EQ(arc->c, kCompensationStart);
  EXPECT_EQ(arc->host_byte_a1, 245);
  EXPECT_EQ(arc->arc()->sweep, -3.141592653589793);
  EXPECT_EQ(macro.rows->next->first, nullptr);  // an empty row is kept
  EXPECT_EQ(macro.rows->next->next->first->kind, 7);
  EXPECT_EQ(macro.MoveCount(), 3);
  EXPECT_EQ(macro.geometry->curves.size(), 2u);

  auto* side = dynamic_cast<SubPara62*>(paths[2]->GetSubPara());
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(side->skip_count, 2);
  EXPECT_NE(dynamic_cast<OrvoPath3d*>(paths[2].get()), nullptr);

  OrvoPath& five = *paths[3];
  ASSERT_NE(five.rows5, nullptr);
  EXPECT_EQ(five.rows5->last, 2);
  EXPECT_EQ(five.rows5->points[2].flag, 255);
  EXPECT_EQ(five.rows5->next->last, -1);
  EXPECT_EQ(five.five_link_height, 30);

  EXPECT_EQ(paths[4]->rows, nullptr);
  EXPECT_EQ(dynamic_cast<SubPara65*>(paths[4]->GetSubPara())->dwell_text, "G04 X0.5");
}

TEST(PartDocument, SaveAndLoadGiveTheSameDocument) {
  auto first = ParsePartDocument(kDocument, "doc.json");
  ASSERT_TRUE(first.document) << first.error;
  const std::string saved = FormatPartDocument(*first.document);
  auto second = ParsePartDocument(saved, "saved.json");
  ASSERT_TRUE(second.document) << second.error << "\n" << saved;
  EXPECT_EQ(FormatPartDocument(*second.document), saved);
  // Numbers keep every bit.
  const tls* line = second.document->paths[2]->rows->first->line();
  EXPECT_EQ(line[0].point.z, 0.30000000000000004);
  EXPECT_EQ(line[1].point.x, 1e-7);
  EXPECT_TRUE(std::signbit(line[1].point.y));
  EXPECT_EQ(line[1].point.z, 12345.678901234567);
}

// Replaces the first occurrence of `from` in the document by `to`.
std::string Edited(const std::string& from, const std::string& to) {
  std::string text = kDocument;
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(PartDocument, BadDocumentsAreRefusedNamingFileAndField) {
  struct Case {
    std::string text;
    const char* error;
  } const cases[] = {
      {"{ not json", "bad.json: not JSON: byte 4"},
      {"", "bad.json: not JSON"},
      {Edited("\"format\": \"zuhost part document\",", ""),
       "bad.json: document: missing field \"format\""},
      {Edited("\"version\": 1", "\"version\": 2"), "bad.json: document.version: unknown version"},
      {Edited("\"stock\": {\"corner\": [-10, -10, -30]", "\"stock\": {\"corner\": [-10, -10]"),
       "bad.json: document.stock.corner: expected 3 numbers"},
      {Edited("\"kind\": 67", "\"kind\": \"67\""),
       "bad.json: document.paths[0].kind: expected an integer"},
      {Edited("\"class\": \"drill\"", "\"class\": \"lathe\""),
       "bad.json: document.paths[0].class: unknown path class \"lathe\""},
      {Edited("\"kind\": 62", "\"kind\": 99"),
       "bad.json: document.paths[2].parameters: path kind 99 has no parameter record"},
      {Edited("\"kind\": 67", "\"kind\": 7"),
       "bad.json: document.paths[0].kind: a drilling path has kind 67"},
      {Edited("\"int1\": 3", "\"int1\": 3.5"),
       "bad.json: document.paths[0].tool.int1: expected an integer"},
      {Edited("[10, 10, 0], [30, 10, 0]", "[10, 10, 0], [30, 1e999, 0]"),
       "bad.json: document.paths[0].geometry.drill_points[1][1]: a number out of range"},
      {Edited("\"safe\": 50, \"safe_mode\": 1", "\"safe\": -1e400, \"safe_mode\": 1"),
       "bad.json: document.paths[0].heights.safe: a number out of range"},
      {Edited("0.1, 0.2", "0.1, null"),
       "bad.json: document.paths[2].rows[0][0][5]: expected a number"},
      {Edited("[[7, 4, 0, -6, 20, 0, -5, 30, 0, -5]]", "[[7, 4, 0, -6, 20, 0, -5]]"),
       "bad.json: document.paths[1].rows[2][0]: a line move needs 10 numbers"},
      {Edited("10, -3.141592653589793]", "10]"),
       "bad.json: document.paths[1].rows[0][1]: an arc move needs 21 numbers"},
      {Edited("[1, 9, 0, 7, 0, 0, 50", "[1, 300, 0, 7, 0, 0, 50"),
       "bad.json: document.paths[1].rows[0][0][1]: attribute out of the range"},
      {Edited("[2, 0, 0, 0, 0, 1, 255]", "[2, 0, 0, 0, 0, 1, 256]"),
       "bad.json: document.paths[3].rows5[0][2][6]: a flag is 0 to 255"},
      {Edited("\"name\": \"tilted\"", "\"name\": \"a name far too long\""),
       "bad.json: document.paths[1].wcs.name: longer than 15 bytes"},
      {Edited("\"name\": \"tilted\"", "\"name\": \"sixteen bytes 16\""),
       "bad.json: document.paths[1].wcs.name: longer than 15 bytes"},
      {Edited("\"user\": [\"M08\",", "\"user\": ["),
       "bad.json: document.paths[0].parameters.user: expected 20 texts"},
      {Edited("\"value\": 1}", "\"value\": \"1\"}"),
       "bad.json: document.paths[1].parameters.macros.#101.value: expected an integer"},
      {Edited("\"rows5\": [[[0", "\"rows5\": {\"x\": [[0"), "bad.json: not JSON"},
  };
  for (const auto& c : cases) {
    auto loaded = ParsePartDocument(c.text, "bad.json");
    EXPECT_EQ(loaded.document, nullptr) << c.error;
    EXPECT_EQ(loaded.error.rfind(c.error, 0), 0u) << "expected: " << c.error << "\n"
                                                  << "     got: " << loaded.error;
  }
}

TEST(PartDocument, AWorkSystemNameOfFifteenBytesIsKept) {
  auto loaded = ParsePartDocument(Edited("\"name\": \"tilted\"", "\"name\": \"fifteen bytes15\""),
                                  "doc.json");
  ASSERT_TRUE(loaded.document) << loaded.error;
  EXPECT_STREQ(loaded.document->paths[1]->wcs.name, "fifteen bytes15");
}

TEST(PartDocument, FiveAxisPathsCountTheirPoints) {
  auto loaded = ParsePartDocument(kDocument, "doc.json");
  ASSERT_TRUE(loaded.document) << loaded.error;
  EXPECT_EQ(loaded.document->paths[3]->MoveCount(), 3);  // rows of 3 and 0 points
}

TEST(PartDocument, TextsTheCodePageCannotHoldAreRefused) {
  zuhost::TextCodec codec;
  // A code page without the letter 'Q', to stand for one without emoji.
  codec.to_ansi = [](std::string_view utf8) {
    zuhost::AnsiText out{std::string(utf8), {}};
    if (const auto at = utf8.find('Q'); at != std::string_view::npos)
      out.unrepresentable = "Q";
    return out;
  };
  struct Case {
    std::string text;
    const char* error;
  } const cases[] = {
      {Edited("\"name\": \"side\"", "\"name\": \"sQde\""),
       "bad.json: document.paths[2].name: the character \"Q\" (U+0051) cannot be held in the "
       "host's code page"},
      {Edited("\"name\": \"R5\"", "\"name\": \"RQ\""), "bad.json: document.paths[3].tool.name:"},
      {Edited("\"u20\"", "\"Q\""), "bad.json: document.paths[0].parameters.user[19]:"},
      {Edited("\"#102\"", "\"#Q\""), "bad.json: document.paths[1].parameters.macros.#Q:"},
      {Edited("\"name\": \"fix\"", "\"name\": \"Q\""),
       "bad.json: document.current_coordinate_system.name:"},
  };
  for (const auto& c : cases) {
    auto loaded = ParsePartDocument(c.text, "bad.json", codec);
    EXPECT_EQ(loaded.document, nullptr) << c.error;
    EXPECT_EQ(loaded.error.rfind(c.error, 0), 0u) << "expected: " << c.error << "\n"
                                                  << "     got: " << loaded.error;
  }
  EXPECT_TRUE(ParsePartDocument(kDocument, "good.json", codec).document);
}

TEST(PartDocument, EveryTruncationIsRefusedCleanly) {
  const std::string text = kDocument;
  for (std::size_t n = 0; n < text.size(); n += 7) {
    auto loaded = ParsePartDocument(std::string_view(text).substr(0, n), "cut.json");
    EXPECT_EQ(loaded.document, nullptr) << n;
    EXPECT_FALSE(loaded.error.empty()) << n;
  }
}

class SavedDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    test_folder_ = std::make_unique<zu::TestFolder>();
    folder_ = test_folder_->path();
  }
  void TearDown() override { test_folder_.reset(); }
  std::unique_ptr<zu::TestFolder> test_folder_;
  std::filesystem::path folder_;
};

TEST_F(SavedDocument, ReplacesTheOldFileOnlyWhenComplete) {
  auto loaded = ParsePartDocument(kDocument, "doc.json");
  ASSERT_TRUE(loaded.document);
  const std::string path = (folder_ / "part.json").string();
  std::ofstream(path) << "old";
  ASSERT_EQ(zuhost::SavePartDocument(*loaded.document, path), "");
  auto again = zuhost::LoadPartDocument(path);
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_EQ(again.document->paths.size(), 5u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left

  const std::string nowhere = (folder_ / "missing" / "part.json").string();
  const std::string error = zuhost::SavePartDocument(*loaded.document, nowhere);
  EXPECT_NE(error.find("cannot be created"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(nowhere));

  auto missing = zuhost::LoadPartDocument(nowhere);
  EXPECT_EQ(missing.document, nullptr);
  EXPECT_EQ(missing.error, nowhere + ": cannot be read");
}

TEST_F(SavedDocument, AFailedRenameLeavesNoNewFileBehind) {
  auto loaded = ParsePartDocument(kDocument, "doc.json");
  ASSERT_TRUE(loaded.document);
  // A folder that is not empty stands where the document should go.
  const auto target = folder_ / "part.json";
  std::filesystem::create_directories(target / "inside");
  const std::string error = zuhost::SavePartDocument(*loaded.document, target.string());
  EXPECT_NE(error.find("cannot be replaced"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(target.string() + ".saving"));
  EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
}

}  // namespace
