// Both tool-location files of one document give the same program.
#include <gtest/gtest.h>

#include "codewriter/code_writer.h"
#include "cutmodel/from_post_path.h"
#include "cutmodel/from_tool_location.h"
#include "format_io/testing/file_bytes.h"
#include "postpath_file/file_reader.h"
#include "toolloc_file/file_reader.h"

namespace zu::codewriter {
namespace {

std::string ReadGolden(const std::string& name) {
  return fio_testing::FileBytes(std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name);
}

std::string Code(const cut::Program& program) {
  std::string code;
  const WriteResult result = WriteProgram(program, machine::MachineConfig{}, {"1"}, code);
  EXPECT_TRUE(result.ok()) << result.error;
  return code;
}

TEST(BothRoads, WriteTheSameProgramOfTheSamePaths) {
  // The macro and drilling documents differ between the files themselves
  // (docs/gcode-output.md); five-axis and tilted ones are refused.
  for (const std::string name : {"milling_2d", "milling_3d", "compensation", "dwell"}) {
    ToolLocationFile text;
    ToolLocationFileBuilder text_builder(text);
    ASSERT_TRUE(ReadToolLocationFile(ReadGolden(name + ".pmf"), text_builder).ok) << name;
    ppf::PostPathFile main;
    ppf::PostPathFileBuilder main_builder(main);
    ASSERT_TRUE(ppf::ReadPostPathFile(ReadGolden("main_" + name + ".pmf"), main_builder).ok);
    EXPECT_EQ(Code(cut::FromToolLocationFile(text)), Code(cut::FromPostPathFile(main))) << name;
  }
}

}  // namespace
}  // namespace zu::codewriter
