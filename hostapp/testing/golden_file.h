// For tests: the golden files of tests/golden/, the exact bytes the plug-in
// writes for the example documents. ZU_UPDATE_GOLDEN=1 in the environment
// asks for them to be written anew instead of compared. Native only, as the
// example session.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zuhost::testing {

// tests/golden/`name` of the source tree at `source_dir`.
std::string GoldenPath(const std::string& source_dir, const std::string& name);

// With ZU_UPDATE_GOLDEN set: writes `bytes` as golden file `name` and
// returns true, for the test to skip its checks. Otherwise false.
bool UpdateGolden(const std::string& source_dir, const std::string& name, const std::string& bytes);

// Success when `bytes` are golden file `name`'s, byte for byte; a missing
// golden file fails with how to make it.
::testing::AssertionResult MatchesGolden(const std::string& source_dir, const std::string& name,
                                         const std::string& bytes);

}  // namespace zuhost::testing
