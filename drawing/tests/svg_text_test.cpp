#include "drawing/svg_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zu::draw {
namespace {

struct TextCase {
  const char* in;
  const char* out;
};
constexpr TextCase kEscapes[] = {
    {"plain", "plain"},
    {"a<b", "a&lt;b"},
    {"a&b", "a&amp;b"},
    {"\"q\"", "&quot;q&quot;"},
    {"it's", "it&apos;s"},
    {"x>y", "x&gt;y"},
    {"轮廓", "轮廓"},                                          // Chinese passes as it is
    {"\xFF", "\xEF\xBF\xBD"},                                  // not UTF-8
    {"\xE8\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // cut short: each byte replaced
    {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong '/'
    {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
    {"a\x01z", "a\xEF\xBF\xBDz"},  // a control character XML cannot hold
    {"tab\there", "tab\there"},
};

TEST(EscapeXml, KeepsTheFileWellFormed) {
  for (const TextCase& c : kEscapes)
    EXPECT_EQ(EscapeXml(c.in), c.out) << c.in;
}

struct NumberCase {
  double value;
  int decimals;
  const char* text;
};
const NumberCase kNumbers[] = {
    {1.25, 3, "1.250"},
    {-2.0004, 3, "-2.000"},
    {-0.0004, 3, "0.000"},  // no "-0.000"
    {1e9, 3, "1000000000.000"},
    {123456.7891, 3, "123456.789"},
    {0.5, 0, "0"},  // round half to even, as printf does
    {std::numeric_limits<double>::quiet_NaN(), 3, "0.000"},
    {std::numeric_limits<double>::infinity(), 3, "0.000"},
    {-std::numeric_limits<double>::infinity(), 3, "0.000"},
};

TEST(Number, FixedWithoutExponentNanOrInf) {
  for (const NumberCase& c : kNumbers)
    EXPECT_EQ(Number(c.value, c.decimals), c.text) << c.value;
}

TEST(Length, DropsTrailingZeros) {
  EXPECT_EQ(Length(12.5), "12.5");
  EXPECT_EQ(Length(3), "3");
  EXPECT_EQ(Length(0.0126), "0.013");
  EXPECT_EQ(Length(100), "100");
  EXPECT_EQ(Length(-0.0001), "0");
}

}  // namespace
}  // namespace zu::draw
