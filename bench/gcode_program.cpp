#include "bench/gcode_program.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace zu::bench {
namespace {

std::string Millimetres(std::int64_t thousandths) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%03lld", thousandths < 0 ? "-" : "",
                static_cast<long long>(std::llabs(thousandths) / 1000),
                static_cast<long long>(std::llabs(thousandths) % 1000));
  return text;
}

}  // namespace

std::string GeneratedProgram(int lines) {
  std::mt19937_64 rng(20261207);
  const auto pick = [&](std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(high - low + 1));
  };
  // A feed rate in force before the first feed move, as a control needs.
  std::string text = "%\nO1000 (BENCHMARK)\nG90 G54 G17 G21 F500\n";
  int line = 3;
  std::int64_t x = 0, y = 0, z = 5000;
  int tool = 0;
  const auto add = [&](const std::string& block) {
    text += "N" + std::to_string(line * 10) + " " + block + "\n";
    ++line;
  };
  while (line < lines - 2) {
    if (line % 50000 == 3) {
      ++tool;
      add("T" + std::to_string(tool % 20 + 1) + " M6 (TOOL " + std::to_string(tool) + ")");
      add("S" + std::to_string(pick(1000, 9000)) + " M3");
      continue;
    }
    const std::uint64_t kind = rng() % 100;
    if (kind < 55) {
      x += pick(-5000, 5000);
      y += pick(-5000, 5000);
      add("G1 X" + Millimetres(x) + " Y" + Millimetres(y) +
          (kind < 5 ? " F" + std::to_string(pick(100, 2000)) : std::string()));
    } else if (kind < 65) {
      z = pick(-3000, 20000);
      x += pick(-20000, 20000);
      add("G0 X" + Millimetres(x) + " Y" + Millimetres(y) + " Z" + Millimetres(z));
    } else if (kind < 85) {
      const std::int64_t i = pick(-8000, 8000);
      const std::int64_t j = pick(-8000, 8000);
      if (i == 0 && j == 0)
        continue;
      const double r = std::hypot(static_cast<double>(i), static_cast<double>(j));
      const double angle = static_cast<double>(rng() % 6283) / 1000;
      const std::int64_t ex = x + i + std::llround(r * std::cos(angle));
      const std::int64_t ey = y + j + std::llround(r * std::sin(angle));
      add(std::string(kind < 75 ? "G2" : "G3") + " X" + Millimetres(ex) + " Y" + Millimetres(ey) +
          " I" + Millimetres(i) + " J" + Millimetres(j));
      x = ex;
      y = ey;
    } else if (kind < 92) {
      add("(PASS " + std::to_string(line) + ")");
    } else {
      add("G0 Z10.");
      add("G99 G81 X" + Millimetres(x) + " Y" + Millimetres(y) + " Z-" +
          Millimetres(pick(1000, 20000)) + " R2. F" + std::to_string(pick(50, 300)));
      for (int hole = 0; hole < 4; ++hole) {
        x += pick(-10000, 10000);
        add("X" + Millimetres(x));
      }
      add("G80");
      z = 2000;
    }
  }
  add("M30");
  text += "%\n";
  return text;
}

}  // namespace zu::bench
