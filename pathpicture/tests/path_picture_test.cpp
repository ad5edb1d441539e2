#include "pathpicture/path_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "drawing/svg_picture.h"
#include "drawing/testing/svg_reader.h"
#include "hostapp/part_document.h"
#include "hostapp/testing/golden_file.h"

namespace zuhost {
namespace {

using zu::draw::DrawSvg;
using zu::draw::View;
using zu::draw::testing::NumbersOf;
using zu::draw::testing::ReadSvg;
using zu::draw::testing::SvgElement;
using zu::draw::testing::SvgFile;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Example(const std::string& name) {
  return ReadText(std::string(ZU_SOURCE_DIR) + "/examples/" + name);
}

std::vector<const OrvoPath*> All(const PartDocument& document) {
  std::vector<const OrvoPath*> paths;
  for (const auto& path : document.paths)
    paths.push_back(path.get());
  return paths;
}

// The example's picture in one view, read back.
SvgFile Drawn(const std::string& json, View view, std::string* svg = nullptr) {
  const DocumentLoad load = ParsePartDocument(json, "test.json");
  EXPECT_TRUE(load.document) << load.error;
  if (!load.document)
    return {};
  const auto drawing = DrawSvg(PicturePaths(All(*load.document), {"test.json"}), {view});
  if (svg)
    *svg = drawing.svg;
  return ReadSvg(drawing.svg);
}

// Every move of the small document is one element, in order, from its
// start to its end (y turned down), the arc a true quarter arc of radius 10.
TEST(PicturePaths, EveryMoveOfTheDocumentIsOneElement) {
  const SvgFile file = Drawn(Example("hand_written.json"), View::kTop);
  ASSERT_TRUE(file.ok) << file.error;
  struct Expected {
    const char* path;
    bool rapid;
    double x0, y0, x1, y1;
  };
  const Expected moves[] = {
      {"contour", true, 0, 0, 0, 0},      {"contour", false, 0, 0, 0, 0},
      {"contour", false, 0, 0, 40, 0},    {"contour", false, 40, 0, 40, 20},
      {"contour", false, 40, 20, 30, 30}, {"contour", false, 30, 30, 0, 30},
      {"contour", false, 0, 30, 0, 0},    {"contour", true, 0, 0, 0, 0},
      {"holes", true, 10, 10, 10, 10},
  };
  const auto drawn = file.Moves();
  ASSERT_EQ(drawn.size(), std::size(moves));
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    const SvgElement& e = *drawn[i];
    const Expected& m = moves[i];
    EXPECT_EQ(e.path_name, m.path) << i;
    EXPECT_EQ(e.HasClass("rapid"), m.rapid) << i;
    std::vector<double> n = e.name == "line" ? std::vector<double>{e.Number("x1"), e.Number("y1"),
                                                                   e.Number("x2"), e.Number("y2")}
                                             : NumbersOf(e.attributes.at("d"));
    ASSERT_GE(n.size(), 4u) << i;
    EXPECT_NEAR(n[0], m.x0, 5e-4) << i;
    EXPECT_NEAR(n[1], -m.y0, 5e-4) << i;
    EXPECT_NEAR(n[n.size() - 2], m.x1, 5e-4) << i;
    EXPECT_NEAR(n[n.size() - 1], -m.y1, 5e-4) << i;
  }
  // The arc: M 40 -20 A 10 10 0 0 0 30 -30 (anticlockwise as seen).
  ASSERT_EQ(drawn[4]->name, "path");
  const std::vector<double> arc = NumbersOf(drawn[4]->attributes.at("d"));
  ASSERT_EQ(arc.size(), 9u);
  EXPECT_NEAR(arc[2], 10, 5e-4);
  EXPECT_EQ(arc[5], 0);  // large-arc flag
  EXPECT_EQ(arc[6], 0);  // sweep flag
  const auto depths = file.WithClass("hole-depth");
  ASSERT_EQ(depths.size(), 3u);
  for (const SvgElement* depth : depths)
    EXPECT_EQ(depth->text, "depth 8");
  const auto names = file.WithClass("legend-name");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0]->text, "contour");
  EXPECT_EQ(names[1]->text, "holes");
}

// The same document in each view, byte for byte (ZU_UPDATE_GOLDEN=1 writes
// them anew; look at them before committing).
TEST(PicturePaths, GoldenPicturePerView) {
  for (View view : {View::kTop, View::kFront, View::kSide, View::kIso}) {
    std::string svg;
    const SvgFile file = Drawn(Example("hand_written.json"), view, &svg);
    ASSERT_TRUE(file.ok) << file.error;
    const std::string name = std::string("pictures/hand_written_") + ViewName(view) + ".svg";
    if (testing::UpdateGolden(ZU_SOURCE_DIR, name, svg))
      continue;
    EXPECT_TRUE(testing::MatchesGolden(ZU_SOURCE_DIR, name, svg));
  }
}

// Chinese names, compensation, dwells and five-axis axes reach the picture.
TEST(PicturePaths, MarksOfTheExamples) {
  struct Case {
    const char* example;
    const char* css_class;
    std::size_t at_least;
  };
  const Case cases[] = {
      {"compensation.json", "compensation-on", 2},
      {"compensation.json", "compensation-off", 2},
      {"dwell.json", "dwell", 2},
      {"five_axis.json", "tool-axis", 3},
      {"drilling.json", "hole-depth", 2},
  };
  for (const Case& c : cases) {
    const SvgFile file = Drawn(Example(c.example), View::kIso);
    ASSERT_TRUE(file.ok) << c.example << ": " << file.error;
    EXPECT_GE(file.WithClass(c.css_class).size(), c.at_least) << c.example << " " << c.css_class;
  }
  const SvgFile dwell = Drawn(Example("dwell.json"), View::kTop);
  const auto names = dwell.WithClass("legend-name");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0]->text, "槽加工 63");
  EXPECT_EQ(names[1]->text, "孔口倒角 65");
}

// "contour" renamed in the document's text.
std::string Renamed(const std::string& name) {
  std::string json = Example("hand_written.json");
  json.replace(json.find("\"contour\""), 9, "\"" + name + "\"");
  return json;
}

TEST(PicturePaths, NamesWithMarkupAreEscaped) {
  const SvgFile file = Drawn(Renamed("a<b> & \\\"c\\\" 'd'"), View::kTop);
  ASSERT_TRUE(file.ok) << file.error;
  EXPECT_EQ(file.WithClass("legend-name")[0]->text, "a<b> & \"c\" 'd'");
}

TEST(PicturePaths, NoPathsGiveAMessage) {
  std::string json = Example("hand_written.json");
  const std::size_t start = json.find("\"paths\": [");
  json = json.substr(0, start) + "\"paths\": []\n}\n";
  std::string svg;
  const SvgFile file = Drawn(json, View::kTop, &svg);
  ASSERT_TRUE(file.ok) << file.error;
  ASSERT_EQ(file.WithClass("message").size(), 1u);
  EXPECT_EQ(file.WithClass("message")[0]->text, "no paths to draw");
}

// A coordinate past what a machine holds: the loader takes it (it is a
// number), the picture refuses it with a message in a well-formed file.
TEST(PicturePaths, HugeCoordinatesAreRefusedWhole) {
  std::string json = Example("hand_written.json");
  json.replace(json.find("40, 0, -2],"), 2, "1e300");
  std::string svg;
  const SvgFile file = Drawn(json, View::kIso, &svg);
  ASSERT_TRUE(file.ok) << file.error;
  ASSERT_EQ(file.WithClass("message").size(), 1u);
  EXPECT_TRUE(file.Moves().empty());
  EXPECT_EQ(svg.find("inf"), std::string::npos);
}

}  // namespace
}  // namespace zuhost
