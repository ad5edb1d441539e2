#include "framework/field_parse.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace zu {
namespace {

TEST(FieldParse, Integers) {
  struct Case {
    const char* text;
    std::optional<int> value;
  } const cases[] = {
      {"0", 0},
      {"  42 ", 42},
      {"-7", -7},
      {"+3", 3},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", {}},
      {"", {}},
      {"   ", {}},
      {"4x", {}},
      {"1.5", {}},
      {"x", {}},
      {"1 2", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseIntField(c.text), c.value) << '"' << c.text << '"';
}

TEST(FieldParse, RealNumbers) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } const cases[] = {
      {"0.005", 0.005}, {" 1e-7 ", 1e-7}, {"-2.5", -2.5}, {"9999", 9999.0}, {".5", 0.5},
      {"abc", {}},      {"", {}},         {"1e999", {}},  {"nan", {}},      {"inf", {}},
      {"0x10", {}},     {"1.5mm", {}},    {"--1", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseDoubleField(c.text), c.value) << '"' << c.text << '"';
}

TEST(FieldParse, ShownValuesReadBackExactly) {
  const double values[] = {0.005, 1e-7, 9999.0, 0.01, 500.0, -0.0012345678, 123456.789012345};
  for (double v : values) {
    const std::string shown = FormatDoubleField(v);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.15g", v);
    EXPECT_EQ(shown, expected);
    const auto back = ParseDoubleField(shown);
    ASSERT_TRUE(back.has_value()) << shown;
    EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << shown;
  }
}

}  // namespace
}  // namespace zu
