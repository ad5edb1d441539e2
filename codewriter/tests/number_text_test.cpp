#include "codewriter/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace zu::codewriter {
namespace {

struct Case {
  double value;
  int decimals;
  const char* decimal;  // AppendDecimal
  const char* plain;    // AppendPlain
};

TEST(NumberText, RoundsExactlyWithoutExponentOrNegativeZero) {
  const Case cases[] = {
      {10, 3, "10.", "10"},
      {0, 3, "0.", "0"},
      {-0.0, 3, "0.", "0"},
      {-0.0004, 3, "0.", "0"},           // rounds to zero: no sign
      {-0.0005, 3, "-0.001", "-0.001"},  // -0.0005 is stored a little below
      {0.0005, 3, "0.001", "0.001"},
      {0.05, 3, "0.05", "0.05"},  // zeros after the point are kept
      {1.0005, 3, "1.", "1"},     // 1.0005 is stored a little below: no round-half-up
      {2.675, 2, "2.67", "2.67"},
      {123456789.125, 3, "123456789.125", "123456789.125"},
      {1e20, 3, "100000000000000000000.", "100000000000000000000"},
      {1e-20, 3, "0.", "0"},
      {-12.5, 0, "-12.", "-12"},
      {99.9996, 3, "100.", "100"},
      {0.123456789, 6, "0.123457", "0.123457"},
  };
  for (const Case& c : cases) {
    std::string decimal, plain;
    AppendDecimal(decimal, c.value, c.decimals);
    AppendPlain(plain, c.value, c.decimals);
    EXPECT_EQ(decimal, c.decimal) << c.value;
    EXPECT_EQ(plain, c.plain) << c.value;
  }
}

TEST(NumberText, IntegersAppend) {
  std::string out = "N";
  AppendInteger(out, 99999);
  AppendInteger(out, -7);
  EXPECT_EQ(out, "N99999-7");
}

}  // namespace
}  // namespace zu::codewriter

namespace zu::codewriter {
namespace {

// printf's %.*f rounds the exact binary value: the reference for every
// number, trailing zeros taken off.
std::string Reference(double value, int decimals) {
  char text[512];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string out = text;
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0')
      out.pop_back();
  } else {
    out += '.';
  }
  if (out.find_first_of("123456789") == std::string::npos && out[0] == '-')
    out.erase(0, 1);
  return out;
}

TEST(NumberText, AgreesWithExactRoundingOnRandomAndBoundaryValues) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> size(-7, 7);
  std::vector<double> values;
  for (int k = 0; k < 200000; ++k) {
    const double magnitude = std::pow(10, size(random));
    values.push_back(k % 2 ? magnitude : -magnitude);
  }
  // Halves and their neighbours at each number of decimals.
  for (int d = 0; d <= 6; ++d) {
    for (int k = 0; k < 1000; ++k) {
      const double half = (k + 0.5) / std::pow(10, d);
      values.insert(values.end(),
                    {half, std::nextafter(half, 0), std::nextafter(half, 1e9), -half});
    }
  }
  int differences = 0;
  for (double value : values) {
    for (int d : {0, 1, 3, 4, 6}) {
      std::string text;
      AppendDecimal(text, value, d);
      if (text != Reference(value, d) && ++differences < 10)
        ADD_FAILURE() << value << " at " << d << ": " << text << " != " << Reference(value, d);
    }
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace zu::codewriter
