// Seeded random milling paths of straight moves and arcs (in all three
// planes, some helices), written as FANUC-0i code to three decimals, some
// arcs split in two and some linearised: the code passes; one end point
// moved by 0.02 fails, named once.
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

std::string Block(const char* format, double a, double b, double c = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::string Block(const char* format, char word, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, word, value);
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
    // An arc in G17, G18 or G19, a third of them helices.
    const int plane = static_cast<int>(3 * unit(random)) % 3;
    const int first = plane == 0 ? 0 : plane == 1 ? 2 : 1;  // the plane's axes, ccw
    const int second = plane == 0 ? 1 : plane == 1 ? 0 : 2;
    const int normal = 3 - first - second;
    const double radius = 1 + 9 * unit(random);
    const double from = 2 * std::numbers::pi * unit(random);
    const double sweep = (0.2 + 5.8 * unit(random)) * (unit(random) < 0.5 ? 1 : -1);
    const double rise = unit(random) < 0.33 ? 2 * unit(random) - 1 : 0;
    double start[3] = {at.x, at.y, at.z};
    double centre[3] = {start[0], start[1], start[2]};
    centre[first] -= radius * std::cos(from);
    centre[second] -= radius * std::sin(from);
    const auto on = [&](double fraction) {
      double p[3] = {centre[0], centre[1], centre[2]};
      p[first] += radius * std::cos(from + sweep * fraction);
      p[second] += radius * std::sin(from + sweep * fraction);
      p[normal] += rise * fraction;
      return Vec{p[0], p[1], p[2]};
    };
    const auto coordinates = [](const Vec& v, int axis) {
      return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
    };
    // A block from `begin` to the point at `fraction`: end words and the
    // centre from the start.
    const auto arc = [&](const Vec& begin, double fraction) {
      const Vec to = on(fraction);
      std::string block =
          std::string("G") + std::to_string(17 + plane) + (sweep > 0 ? " G3" : " G2");
      for (int axis = 0; axis < 3; ++axis) {
        if (axis == normal && rise == 0)
          continue;
        block += Block(" %c%.3f", "XYZ"[axis], coordinates(to, axis));
      }
      for (int axis : {first, second})
        block += Block(" %c%.3f", "IJK"[axis], centre[axis] - coordinates(begin, axis));
      out.code += block + "\n";
      return to;
    };
    Vec axis{};
    (normal == 0 ? axis.x : normal == 1 ? axis.y : axis.z) = sweep > 0 ? 1 : -1;
    const Vec end = on(1);
    path.steps.push_back({Step::Kind::kArc, end, {centre[0], centre[1], centre[2]}, axis, 300});
    const double form = unit(random);
    if (form < 0.5) {
      arc(at, 1);
    } else if (form < 0.75) {  // in two arcs
      arc(arc(at, 0.5), 1);
    } else {  // in chords no more than 0.002 from the arc
      const double step = 2 * std::acos(1 - 0.002 / radius);
      const int chords = static_cast<int>(std::ceil(std::fabs(sweep) / step));
      for (int c = 1; c <= chords; ++c) {
        const Vec p = on(static_cast<double>(c) / chords);
        out.code += Block("G1 X%.3f Y%.3f Z%.3f\n", p.x, p.y, p.z);
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
