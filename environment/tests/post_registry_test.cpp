// The post module's registry values in the Wine prefix's registry: a value
// is handed back trimmed only when it names something that exists.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "environment/post_module.h"

namespace zu {
namespace {

// A value of the post module's key that lives for one test; its name holds
// the process id so that test runs at the same time do not meet.
class TestValue {
 public:
  TestValue(const std::string& name, const std::string& data)
      : name_(name + std::to_string(GetCurrentProcessId())) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPostModuleKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExA(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1)),
        ERROR_SUCCESS);
    RegCloseKey(key);
  }
  ~TestValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPostModuleKey, 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
      RegDeleteValueA(key, name_.c_str());
      RegCloseKey(key);
    }
  }
  const char* name() const { return name_.c_str(); }

 private:
  std::string name_;
};

TEST(PostRegistry, AFolderThatExistsIsHandedBackTrimmed) {
  const TestValue value("ZuTestPresent", "C:\\windows\\\\/");
  Text out = "before";
  EXPECT_EQ(FindPostRegValue(value.name(), out), kRegFound);
  EXPECT_STRCASEEQ(out.c_str(), "C:\\windows");
}

TEST(PostRegistry, AValueNamingAMissingFolderLeavesTheOutputAlone) {
  const TestValue value("ZuTestMissing", "C:\\no such folder\\post\\");
  Text out = "before";
  EXPECT_EQ(FindPostRegValue(value.name(), out), kRegNoFolder);
  EXPECT_EQ(out, "before");
  // Read unchanged, it is handed back as it stands.
  EXPECT_EQ(ReadPostRegValue(value.name(), out), kRegFound);
  EXPECT_EQ(out, "C:\\no such folder\\post\\");
}

TEST(PostRegistry, AnEmptyOrMissingValueLeavesTheOutputAlone) {
  const TestValue slashes("ZuTestSlashes", "\\\\\\");
  Text out = "before";
  EXPECT_EQ(FindPostRegValue(slashes.name(), out), kRegNoFolder);
  EXPECT_EQ(out, "before");
  EXPECT_EQ(FindPostRegValue("ZuTestNoSuchValue", out), kRegNoValue);
  EXPECT_EQ(ReadPostRegValue("ZuTestNoSuchValue", out), kRegNoValue);
  EXPECT_EQ(out, "before");
}

}  // namespace
}  // namespace zu
