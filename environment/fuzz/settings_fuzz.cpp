// libFuzzer target: the settings loader on any file. The loader opens a
// path, so each input goes into an anonymous in-memory file that the loader
// opens as /proc/self/fd/N (Linux): nothing is left on disk. After a load
// the code file's path is never empty.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "environment/post_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = ::memfd_create("ZuPost.ini", 0);
  if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
      ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
    std::abort();
  zu::PostSettingsRecord settings;
  settings.FilePath = "/proc/self/fd/" + std::to_string(fd);
  zu::SettingsSources sources;
  sources.home_folder = "C:\\ORVO";
  zu::LoadSettingsFrom(settings, sources);
  if (settings.CodePathName.IsEmpty())
    std::abort();
  return 0;
}
