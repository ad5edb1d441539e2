// A folder of one test's own under the system's temporary folder. Its name
// holds the test's name and the process id, so that tests running at the
// same time (ctest -j, or two test runs on one machine) never share one. It
// is made empty when the object is made and removed, with all it holds, when
// the object goes. Portable; for test programs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zu {

class TestFolder {
 public:
  // Named after the running GoogleTest test and `purpose`.
  explicit TestFolder(std::string_view purpose = "");
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, in the platform's form.
  std::string File(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace zu
