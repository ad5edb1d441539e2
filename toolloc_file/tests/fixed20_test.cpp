#include "toolloc_file/fixed20.h"

#include "toolloc_file/tests/fixed20_samples.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <string>

namespace zu {
namespace {

// The input as C writes it exactly in hexadecimal, with its shortest decimal.
std::string Describe(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%a (%.17g)", value, value);
  return text;
}

std::string Format(double value) {
  char text[kFixed20MaxLength];
  return std::string(text, FormatFixed20(value, text));
}

TEST(Fixed20, KnownTexts) {
  const struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.00000000000000000000"},
      {-0.0, "-0.00000000000000000000"},
      {1.0, "1.00000000000000000000"},
      {-1.0, "-1.00000000000000000000"},
      {10.0, "10.00000000000000000000"},
      {0.5, "0.50000000000000000000"},
      {0.125, "0.12500000000000000000"},
      {0.1, "0.10000000000000000555"},
      {-0.1, "-0.10000000000000000555"},
      {-0.000123, "-0.00012300000000000001"},
      {3.14159265358979, "3.14159265358979000737"},
      {123456789.123456789, "123456789.12345679104328155518"},
      // Below one unit of the last decimal: half of it rounds up, less is zero
      // but keeps its sign.
      {1e-20, "0.00000000000000000001"},
      {5e-21, "0.00000000000000000000"},  // 4.9999999999999997e-21
      {-5e-21, "-0.00000000000000000000"},
      {1e-21, "0.00000000000000000000"},
      {-1e-21, "-0.00000000000000000000"},
      {0x1p-64, "0.00000000000000000005"},
      {0x1p-66, "0.00000000000000000001"},
      {0x1p-67, "0.00000000000000000001"},
      {0x1.fffffffffffffp-68, "0.00000000000000000001"},
      {0x1p-68, "0.00000000000000000000"},
      {DBL_MIN, "0.00000000000000000000"},
      {std::numeric_limits<double>::denorm_min(), "0.00000000000000000000"},
      {-std::numeric_limits<double>::denorm_min(), "-0.00000000000000000000"},
      // Where the fraction's bits cross from one 64-bit half to the other.
      {0x1p-11, "0.00048828125000000000"},
      {0x1.fffffffffffffp-12, "0.00048828124999999995"},
      {0x1.fffffffffffffp-1, "0.99999999999999988898"},
      // Exact ties (k / 2^21, k odd) round to even, both ways.
      {0x1p-21, "0.00000047683715820312"},
      {0x3p-21, "0.00000143051147460938"},
      {-0x3p-21, "-0.00000143051147460938"},
      {0x5p-21, "0.00000238418579101562"},
      {0x7p-21, "0.00000333786010742188"},
      {0x200001p-21, "1.00000047683715820312"},
      {0x7d000005p-21, "1000.00000238418579101562"},
      {0x1fffffffffffffp-21, "4294967295.99999952316284179688"},
      {0x1ffffffffffffdp-21, "4294967295.99999856948852539062"},
      // Next to a tie, it is no tie.
      {0x1.0000000000001p-21, "0.00000047683715820313"},
      {0x1.fffffffffffffp-22, "0.00000047683715820312"},
      // Rounding up carries through nines across the groups of digits.
      {0x1.6676260e6db20p-18, "0.00000534149286440000"},
      {5e-08, "0.00000005000000000000"},
      {9e-08, "0.00000009000000000000"},
      // Integer parts at the edges of 32 and 64 bits and of digit counts.
      {99999999.0, "99999999.00000000000000000000"},
      {100000000.0, "100000000.00000000000000000000"},
      {4294967295.0, "4294967295.00000000000000000000"},
      {4294967295.5, "4294967295.50000000000000000000"},
      {4294967296.0, "4294967296.00000000000000000000"},
      {0x1p53 - 1, "9007199254740991.00000000000000000000"},
      {0x1p53, "9007199254740992.00000000000000000000"},
      {0x1p53 + 2, "9007199254740994.00000000000000000000"},
      {1e16, "10000000000000000.00000000000000000000"},
      {1e19, "10000000000000000000.00000000000000000000"},
      {0x1.fffffffffffffp63, "18446744073709549568.00000000000000000000"},
      {0x1p64, "18446744073709551616.00000000000000000000"},
      {-0x1p64, "-18446744073709551616.00000000000000000000"},
      {0x1p70, "1180591620717411303424.00000000000000000000"},
      {1e22, "10000000000000000000000.00000000000000000000"},
      {1e23, "99999999999999991611392.00000000000000000000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Format(c.value), c.text) << Describe(c.value);
}

TEST(Fixed20, LargestValuesFitTheMaximumLength) {
  const std::string max =
      "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
      "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
      "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
      "168738177180919299881250404026184124858368.00000000000000000000";
  EXPECT_EQ(Format(DBL_MAX), max);
  EXPECT_EQ(Format(-DBL_MAX), "-" + max);
  EXPECT_EQ(Format(-DBL_MAX).size(), kFixed20MaxLength);
}

TEST(Fixed20, InfinityAndNanAreRefused) {
  const double refused[] = {HUGE_VAL, -HUGE_VAL, std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::quiet_NaN()};
  for (double value : refused) {
    char text[kFixed20MaxLength] = {'x'};
    EXPECT_EQ(FormatFixed20(value, text), 0u) << Describe(value);
    EXPECT_EQ(text[0], 'x') << Describe(value);
    std::string out = "kept";
    EXPECT_FALSE(AppendFixed20(out, value)) << Describe(value);
    EXPECT_EQ(out, "kept");
  }
}

TEST(Fixed20, AppendAddsTheTextAfterWhatIsThere) {
  std::string out = "X";
  ASSERT_TRUE(AppendFixed20(out, -2.5));
  ASSERT_TRUE(AppendFixed20(out, 0x1p64));
  EXPECT_EQ(out, "X-2.5000000000000000000018446744073709551616.00000000000000000000");
}

// Every sample family against a reference; returns one message per family
// with the first few differences.
template <class Reference>
void ExpectSameAsReference(Reference reference) {
  constexpr fixed20_samples::Counts kCounts{200000, 30000, 30000, 50000};
  std::map<std::string, int> differences;
  std::map<std::string, std::size_t> compared;
  char ours[kFixed20MaxLength];
  char theirs[fixed20_samples::kTextRoom];
  fixed20_samples::ForEachSample(kCounts, [&](const char* family, double value) {
    ++compared[family];
    const std::string_view expected = reference(value, theirs);
    const std::string_view written(ours, FormatFixed20(value, ours));
    if (written != expected && ++differences[family] <= 5)
      ADD_FAILURE() << family << ": " << Describe(value) << " gives " << written << ", expected "
                    << expected;
  });
  for (const auto& [family, count] : compared)
    EXPECT_EQ(differences[family], 0) << family << ": of " << count << " values";
}

TEST(Fixed20, SameAsTheCLibrary) {
  std::string failure;
  if (!fixed20_samples::SnprintfIsExact(&failure))
    GTEST_SKIP() << "this C library is not exact, nothing to compare with: " << failure;
  ExpectSameAsReference(fixed20_samples::SnprintfFixed20);
}

TEST(Fixed20, SameAsToChars) {
  ExpectSameAsReference(fixed20_samples::ToCharsFixed20);
}

}  // namespace
}  // namespace zu
