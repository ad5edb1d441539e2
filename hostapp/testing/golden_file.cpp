#include "hostapp/testing/golden_file.h"

#include <cstdlib>
#include <fstream>

#include "hostapp/testing/example_session.h"

namespace zuhost::testing {

std::string GoldenPath(const std::string& source_dir, const std::string& name) {
  return source_dir + "/tests/golden/" + name;
}

bool UpdateGolden(const std::string& source_dir, const std::string& name,
                  const std::string& bytes) {
  if (!std::getenv("ZU_UPDATE_GOLDEN"))
    return false;
  std::ofstream(GoldenPath(source_dir, name), std::ios::binary) << bytes;
  return true;
}

::testing::AssertionResult MatchesGolden(const std::string& source_dir, const std::string& name,
                                         const std::string& bytes) {
  const std::string path = GoldenPath(source_dir, name);
  const std::string golden = ReadFile(path);
  if (golden.empty())
    return ::testing::AssertionFailure() << path << " is missing: run with ZU_UPDATE_GOLDEN=1";
  if (bytes != golden)
    return ::testing::AssertionFailure() << name << " differs";
  return ::testing::AssertionSuccess();
}

}  // namespace zuhost::testing
