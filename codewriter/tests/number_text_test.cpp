#include "codewriter/number_text.h"

#include <gtest/gtest.h>

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
