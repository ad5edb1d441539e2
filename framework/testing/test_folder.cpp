#include "framework/testing/test_folder.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zu {
namespace {

unsigned long ProcessId() {
#if defined(_WIN32)
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}

}  // namespace

TestFolder::TestFolder(std::string_view purpose) {
  std::string name = "zu";
  if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
    name += std::string("_") + test->test_suite_name() + "_" + test->name();
  }
  if (!purpose.empty())
    name += "_" + std::string(purpose);
  name += "_" + std::to_string(ProcessId());
  path_ = std::filesystem::temp_directory_path() / name;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
  std::filesystem::create_directories(path_);
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  // Files a test made read-only must become writable before they can go.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string TestFolder::File(std::string_view name) const {
  return (path_ / name).string();
}

}  // namespace zu
