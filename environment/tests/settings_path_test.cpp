#include "environment/settings_path.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

TEST(SettingsPath, FolderParaBesideTheHostFolder) {
  struct Case {
    const char* exe;
    const char* folder;
  } const cases[] = {
      {"C:\\Program Files\\Zu\\bin\\zuhost.exe", "C:\\Program Files\\Zu\\para"},
      {"D:\\zu\\zuhost.exe", "D:\\para"},
      {"zuhost.exe", "\\para"},
      {"\\zuhost.exe", "\\para"},
      {"C:\\a.b\\c\\d.exe", "C:\\a.b\\para"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SettingsFolderFor(c.exe), c.folder) << c.exe;
}

}  // namespace
}  // namespace zu
