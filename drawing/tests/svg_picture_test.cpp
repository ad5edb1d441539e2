#include "drawing/svg_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "drawing/testing/svg_reader.h"

namespace zu::draw {
namespace {

using testing::NumbersOf;
using testing::ReadSvg;
using testing::SvgElement;
using testing::SvgFile;

constexpr double kPi = std::numbers::pi;

Move Line(Point from, Point to, bool rapid = false) {
  Move m;
  m.from = from;
  m.to = to;
  m.rapid = rapid;
  return m;
}

// An arc about +Z (normal_z 1) or -Z (-1) centred at `c` from angle a0
// turning `sweep` about that normal.
Move Arc(Point c, double r, double a0, double sweep, double normal_z = 1) {
  Move m;
  m.kind = Move::Kind::kArc;
  m.centre = c;
  m.normal = {0, 0, normal_z};
  m.sweep = sweep;
  const double a1 = a0 + normal_z * sweep;
  m.from = {c.x + r * std::cos(a0), c.y + r * std::sin(a0), c.z};
  m.to = {c.x + r * std::cos(a1), c.y + r * std::sin(a1), c.z};
  return m;
}

// A small picture: a rapid, two feeds, a quarter turn counter-clockwise,
// a three-quarter turn clockwise, and a full circle.
Picture Small() {
  Picture picture;
  picture.title = "small";
  Trace t;
  t.name = "contour";
  t.moves = {Line({0, 0, 10}, {0, 0, 1}, true),
             Line({0, 0, 1}, {0, 0, -1}),
             Line({0, 0, -1}, {40, 0, -1}),
             Arc({40, 10, -1}, 10, -kPi / 2, kPi / 2),
             Arc({60, 10, -1}, 10, kPi, 1.5 * kPi, -1),
             Arc({20, 30, -1}, 5, 0, 2 * kPi)};
  picture.traces.push_back(t);
  return picture;
}

TEST(DrawSvg, EveryMoveIsOneElementWithItsCoordinates) {
  const Picture picture = Small();
  const SvgDrawing drawing = DrawSvg(picture, {View::kTop});
  EXPECT_EQ(drawing.problem, "");
  const SvgFile file = ReadSvg(drawing.svg);
  ASSERT_TRUE(file.ok) << file.error;
  const auto moves = file.Moves();
  const auto& expected = picture.traces[0].moves;
  ASSERT_EQ(moves.size(), expected.size());
  EXPECT_EQ(drawing.moves, expected.size());
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const SvgElement& e = *moves[i];
    const Move& m = expected[i];
    EXPECT_EQ(e.HasClass("rapid"), m.rapid) << i;
    EXPECT_EQ(e.attributes.count("stroke-dasharray"), m.rapid ? 1u : 0u) << i;
    std::vector<double> n;
    if (e.name == "line")
      n = {e.Number("x1"), e.Number("y1"), e.Number("x2"), e.Number("y2")};
    else
      n = NumbersOf(e.attributes.at(e.name == "path" ? "d" : "points"));
    ASSERT_GE(n.size(), 4u) << i;
    // The picture's y is the view's up axis turned down.
    EXPECT_NEAR(n[0], m.from.x, 5e-4) << i;
    EXPECT_NEAR(n[1], -m.from.y, 5e-4) << i;
    EXPECT_NEAR(n[n.size() - 2], m.to.x, 5e-4) << i;
    EXPECT_NEAR(n[n.size() - 1], -m.to.y, 5e-4) << i;
  }
}

// Arcs about Z are circles seen from above: SVG arcs with their radius,
// the large-arc flag past half a turn, and sweep flag 0 where they turn
// counter-clockwise as seen (SVG's y points down).
TEST(DrawSvg, ArcsInTheirPlaneAreTrueArcs) {
  const SvgFile file = ReadSvg(DrawSvg(Small(), {View::kTop}).svg);
  const auto moves = file.Moves();
  ASSERT_EQ(moves.size(), 6u);
  struct Expected {
    double radius;
    int large, sweep, commands;
  };
  const Expected arcs[] = {{10, 0, 0, 1}, {10, 1, 1, 1}, {5, 0, 0, 2}};
  for (int k = 0; k < 3; ++k) {
    const SvgElement& e = *moves[3 + k];
    ASSERT_EQ(e.name, "path");
    EXPECT_TRUE(e.HasClass("arc"));
    const std::vector<double> n = NumbersOf(e.attributes.at("d"));
    // M x y, then per arc command: rx ry rotation large sweep x y.
    ASSERT_EQ(n.size(), 2u + 7u * arcs[k].commands) << k;
    for (int c = 0; c < arcs[k].commands; ++c) {
      const double* a = &n[2 + 7 * c];
      EXPECT_NEAR(a[0], arcs[k].radius, 5e-4) << k;
      EXPECT_NEAR(a[1], arcs[k].radius, 5e-4) << k;
      EXPECT_EQ(a[3], arcs[k].large) << k;
      EXPECT_EQ(a[4], arcs[k].sweep) << k;
    }
  }
}

// Seen from the front an arc about Z is a line of points: sampled, every
// point on the arc's plane.
TEST(DrawSvg, ArcsOutOfTheirPlaneAreSampled) {
  const SvgFile file = ReadSvg(DrawSvg(Small(), {View::kFront}).svg);
  const auto moves = file.Moves();
  ASSERT_EQ(moves.size(), 6u);
  for (int k = 3; k < 6; ++k) {
    EXPECT_EQ(moves[k]->name, "polyline") << k;
    const std::vector<double> n = NumbersOf(moves[k]->attributes.at("points"));
    EXPECT_GT(n.size(), 20u) << k;
    for (std::size_t i = 1; i < n.size(); i += 2)
      EXPECT_NEAR(n[i], 1, 5e-4) << k;  // z = -1, drawn at y = 1
  }
}

TEST(DrawSvg, LegendHoldsEachPathsName) {
  Picture picture = Small();
  picture.traces.push_back(picture.traces[0]);
  picture.traces[1].name = "粗加工 轮廓";
  const SvgFile file = ReadSvg(DrawSvg(picture, {View::kIso}).svg);
  ASSERT_TRUE(file.ok) << file.error;
  const auto names = file.WithClass("legend-name");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0]->text, "contour");
  EXPECT_EQ(names[1]->text, "粗加工 轮廓");
  const auto groups = file.WithClass("path");
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_NE(groups[0]->attributes.at("stroke"), groups[1]->attributes.at("stroke"));
}

TEST(DrawSvg, NamesWithMarkupAreEscaped) {
  Picture picture = Small();
  picture.title = "a <b> & 'c'";
  picture.traces[0].name = "x<y & \"z\"";
  const SvgDrawing drawing = DrawSvg(picture);
  const SvgFile file = ReadSvg(drawing.svg);
  ASSERT_TRUE(file.ok) << file.error;
  EXPECT_EQ(file.WithClass("legend-name")[0]->text, "x<y & \"z\"");
  EXPECT_EQ(file.WithClass("path")[0]->attributes.at("data-name"), "x<y & \"z\"");
  EXPECT_EQ(file.WithClass("title")[0]->text, "a <b> & 'c'");
}

TEST(DrawSvg, NothingToDrawGivesAMessage) {
  Picture none;
  none.title = "empty.json";
  Picture no_moves;
  no_moves.traces.push_back(Trace{});
  for (const Picture& picture : {none, no_moves}) {
    const SvgDrawing drawing = DrawSvg(picture);
    EXPECT_NE(drawing.problem, "");
    const SvgFile file = ReadSvg(drawing.svg);
    ASSERT_TRUE(file.ok) << file.error;
    ASSERT_EQ(file.WithClass("message").size(), 1u);
    EXPECT_EQ(file.WithClass("message")[0]->text, drawing.problem);
    EXPECT_TRUE(file.Moves().empty());
  }
}

double ViewBoxSize(const SvgFile& file, int which) {
  const std::vector<double> box = NumbersOf(file.elements[0].attributes.at("viewBox"));
  return box.size() == 4 ? box[2 + which] : NAN;
}

// All points on one line (a plunge seen from above is one point; a line
// along X seen from the front), or a single point: still a picture with a
// scale.
TEST(DrawSvg, PointsOnOneLineStillHaveAScale) {
  const Move cases[] = {Line({5, 5, 10}, {5, 5, -3}), Line({0, 0, 0}, {30, 0, 0}),
                        Line({2, 2, 2}, {2, 2, 2}), Line({0, 0, 0}, {5e-324, 1e-300, 0})};
  for (const Move& m : cases) {
    for (View view : {View::kTop, View::kFront, View::kSide, View::kIso}) {
      Picture picture;
      picture.traces.push_back({});
      picture.traces[0].moves = {m};
      const SvgDrawing drawing = DrawSvg(picture, {view});
      EXPECT_EQ(drawing.problem, "");
      const SvgFile file = ReadSvg(drawing.svg);
      ASSERT_TRUE(file.ok) << file.error;
      EXPECT_GT(ViewBoxSize(file, 0), 0) << ViewName(view);
      EXPECT_GT(ViewBoxSize(file, 1), 0) << ViewName(view);
      const auto bar = file.WithClass("scale-bar");
      ASSERT_EQ(bar.size(), 1u);
      EXPECT_GT(bar[0]->Number("data-length"), 0);
      EXPECT_EQ(drawing.svg.find("nan"), std::string::npos);
      EXPECT_EQ(drawing.svg.find("inf"), std::string::npos);
    }
  }
}

// A coordinate that is no number, or past 1000 km, refuses the picture with
// a message; up to that it is drawn with plain numbers.
TEST(DrawSvg, BadCoordinatesNeverBreakTheFile) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    bool drawn;
  };
  const Case cases[] = {{nan, false},        {inf, false}, {1e300, false},
                        {1.000001e9, false}, {1e9, true},  {-1e9, true}};
  for (const Case& c : cases) {
    Picture picture = Small();
    picture.traces[0].moves.push_back(Line({0, 0, 0}, {c.value, 0, 0}));
    const SvgDrawing drawing = DrawSvg(picture, {View::kIso});
    EXPECT_EQ(drawing.problem.empty(), c.drawn) << c.value;
    const SvgFile file = ReadSvg(drawing.svg);
    ASSERT_TRUE(file.ok) << file.error;
    for (const char* bad : {"nan", "inf", "e+"})
      EXPECT_EQ(drawing.svg.find(bad), std::string::npos) << c.value << " " << bad;
  }
  Picture bad_arc = Small();
  bad_arc.traces[0].moves[3].sweep = nan;
  EXPECT_NE(DrawSvg(bad_arc).problem, "");
}

TEST(DrawSvg, HolesAxesAndMarks) {
  Picture picture;
  Trace t;
  t.name = "drill";
  t.holes = {{{10, 10, 0}, -12.5}, {{20, 10, 0}, -3}};
  // A hundred axes a tenth of a millimetre apart on a 100 mm picture: a few
  // strokes, not a hundred.
  for (int i = 0; i < 100; ++i)
    t.axes.push_back({{100 + 0.1 * i, 0, 0}, {0, 0, 1}});
  t.axes.push_back({{0, 0, 0}, {0, 1, 1}});
  t.marks = {{Mark::Kind::kCompensationOn, {1, 1, 0}},
             {Mark::Kind::kCompensationOff, {2, 2, 0}},
             {Mark::Kind::kDwell, {3, 3, 0}}};
  picture.traces.push_back(t);
  picture.callouts.push_back({{5, 5, 0}, {6, 6, 0}, "0.05 mm"});
  const SvgFile file = ReadSvg(DrawSvg(picture, {View::kIso}).svg);
  ASSERT_TRUE(file.ok) << file.error;
  const auto depths = file.WithClass("hole-depth");
  ASSERT_EQ(depths.size(), 2u);
  EXPECT_EQ(depths[0]->text, "depth 12.5");
  EXPECT_EQ(depths[1]->text, "depth 3");
  const std::size_t axes = file.WithClass("tool-axis").size();
  EXPECT_GE(axes, 2u);
  EXPECT_LE(axes, 6u);
  EXPECT_EQ(file.WithClass("compensation-on").size(), 1u);
  EXPECT_EQ(file.WithClass("compensation-off").size(), 1u);
  EXPECT_EQ(file.WithClass("dwell").size(), 1u);
  ASSERT_EQ(file.WithClass("deviation-size").size(), 1u);
  EXPECT_EQ(file.WithClass("deviation-size")[0]->text, "0.05 mm");
  EXPECT_EQ(file.WithClass("box").size(), 1u);
}

}  // namespace
}  // namespace zu::draw
