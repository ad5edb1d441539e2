// Seeded random milling paths of straight moves and arcs, written as
// FANUC-0i code to three decimals, some arcs split in two and some
// linearised: the code passes; one end point moved by 0.02 fails, named.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>

#include "gcode/nc_system.h"
#include "verification/verify_program.h"

namespace zu::verify {
namespace {

using cut::Step;
using cut::Vec;

constexpr double kTolerance = 0.005;

struct Written {
  cut::Program expected;
  std::string code;
  int moved = -1;  // the step whose end the code moves, -1 for none
};

std::string Block(const char* format, double a, double b, double c = 0, double d = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

// `moves` steps from (0, 0, 0); `move_one` moves one straight move's end
// (one followed by a straight move) by 0.02 in the code.
Written Generate(unsigned seed, int moves, bool move_one) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  Written out;
  out.expected.tools = {{1, "MILL", 6, 0}};
  cut::Path& path = out.expected.paths.emplace_back();
  path.name = "R" + std::to_string(seed);
  path.home = Vec{0, 0, 0};
  out.code = "O0001\nG21 G17 G90\nT1 M6\nG0 X0. Y0. Z0.\nG1 F300.\n";
  Vec at{0, 0, 0};
  for (int k = 0; k < moves; ++k) {
    const bool line = unit(random) < 0.5 || k + 1 == moves;
    if (line) {
      const Vec end{at.x + 10 * unit(random) - 5, at.y + 10 * unit(random) - 5,
                    at.z + 2 * unit(random) - 1};
      path.steps.push_back({Step::Kind::kLine, end, {}, {}, 300});
      const bool moved = move_one && out.moved < 0 && k > moves / 2;
      if (moved)
        out.moved = k;
      out.code += Block("G1 X%.3f Y%.3f Z%.3f\n", end.x + (moved ? 0.02 : 0), end.y, end.z);
      if (moved) {  // the next one is straight too
        const Vec next{end.x + 3, end.y - 2, end.z};
        path.steps.push_back({Step::Kind::kLine, next, {}, {}, 300});
        out.code += Block("G1 X%.3f Y%.3f Z%.3f\n", next.x, next.y, next.z);
        ++k;
        at = next;
        continue;
      }
      at = end;
      continue;
    }
    const double radius = 1 + 9 * unit(random);
    const double from = 2 * std::numbers::pi * unit(random);
    const double sweep = (0.2 + 5.8 * unit(random)) * (unit(random) < 0.5 ? 1 : -1);
    const Vec centre{at.x - radius * std::cos(from), at.y - radius * std::sin(from), at.z};
    const auto on = [&](double angle) {
      return Vec{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), at.z};
    };
    const Vec end = on(from + sweep);
    path.steps.push_back({Step::Kind::kArc, end, centre, {0, 0, sweep > 0 ? 1.0 : -1.0}, 300});
    const char* g = sweep > 0 ? "G3" : "G2";
    const double form = unit(random);
    if (form < 0.5) {
      out.code += Block((std::string(g) + " X%.3f Y%.3f I%.3f J%.3f\n").c_str(), end.x, end.y,
                        centre.x - at.x, centre.y - at.y);
    } else if (form < 0.75) {  // in two arcs
      const Vec middle = on(from + sweep / 2);
      out.code += Block((std::string(g) + " X%.3f Y%.3f I%.3f J%.3f\n").c_str(), middle.x, middle.y,
                        centre.x - at.x, centre.y - at.y);
      out.code += Block((std::string(g) + " X%.3f Y%.3f I%.3f J%.3f\n").c_str(), end.x, end.y,
                        centre.x - middle.x, centre.y - middle.y);
    } else {  // in chords no more than 0.002 from the arc
      const double step = 2 * std::acos(1 - 0.002 / radius);
      const int chords = static_cast<int>(std::ceil(std::fabs(sweep) / step));
      for (int c = 1; c <= chords; ++c) {
        const Vec p = on(from + sweep * c / chords);
        out.code += Block("G1 X%.3f Y%.3f\n", p.x, p.y);
      }
    }
    at = end;
  }
  out.code += "M30\n";
  return out;
}

const gcode::NcSystem& Fanuc() {
  static const gcode::NcSystem* system = [] {
    gcode::NcSystemLoad load =
        gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/FANUC-0i.xml");
    EXPECT_TRUE(load.ok) << load.error;
    return new gcode::NcSystem(std::move(load.system));
  }();
  return *system;
}

TEST(RandomPrograms, WrittenToThreeDecimalsPass) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const Written written = Generate(seed, 60, false);
    VerifyOptions options;
    options.tolerance = kTolerance;
    const VerifyResult result = VerifyProgram(written.expected, written.code, Fanuc(), options);
    ASSERT_TRUE(result.ok) << "seed " << seed << ": "
                           << (result.mismatches.empty() ? "deviation "
                                                         : result.mismatches.front().text)
                           << " " << result.largest_deviation;
    // Chords within 0.002, three decimals within 0.0009 of each point.
    EXPECT_LT(result.largest_deviation, 0.0035) << seed;
    EXPECT_EQ(result.moves_compared, 60u) << seed;
  }
}

TEST(RandomPrograms, OneMovedEndFailsNamed) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const Written written = Generate(seed, 60, true);
    ASSERT_GE(written.moved, 0) << seed;
    VerifyOptions options;
    options.tolerance = kTolerance;
    const VerifyResult result = VerifyProgram(written.expected, written.code, Fanuc(), options);
    EXPECT_FALSE(result.ok) << seed;
    ASSERT_EQ(result.mismatch_count, 1u) << seed;
    EXPECT_EQ(result.mismatches.front().where.index, written.moved) << seed;
    EXPECT_NEAR(result.largest_deviation, 0.02, 0.001) << seed;
  }
}

}  // namespace
}  // namespace zu::verify
