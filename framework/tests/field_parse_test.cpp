#include "framework/field_parse.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(FieldParse, ValuesAreShownWithFifteenSignificantDigits) {
  struct Case {
    double value;
    const char* shown;
  } const cases[] = {
      {0.005, "0.005"},
      {1e-7, "1e-07"},
      {9999.0, "9999"},
      {500.0, "500"},
      {-0.0012345678, "-0.0012345678"},
      {123456.789012345, "123456.789012345"},
      {0.1 + 0.2, "0.3"},  // the sixteenth digit is not shown
      {1.0 / 3.0, "0.333333333333333"},
  };
  for (const auto& c : cases) {
    const std::string shown = FormatDoubleField(c.value);
    EXPECT_EQ(shown, c.shown) << c.value;
    const auto back = ParseDoubleField(shown);
    ASSERT_TRUE(back.has_value()) << shown;
    EXPECT_NEAR(*back, c.value, std::abs(c.value) * 1e-15) << shown;
  }
}

}  // namespace
}  // namespace zu
