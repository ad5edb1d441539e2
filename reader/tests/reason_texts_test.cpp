// The interpreter's reasons in Chinese: each form with its values, and every
// reason a program can be given.
#include "reader/reason_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "gcode/interpreter.h"
#include "gcode/nc_system.h"
#include "reader/tests/null_receiver.h"

namespace zureader {
namespace {

TEST(ReasonTexts, FormsKeepTheirValues) {
  struct Case {
    const char* english;
    const char* chinese;
  } const cases[] = {
      {"unknown code G12.5", "未知代码 G12.5"},
      {"D takes a whole number from 0 to 999", "D 须为 0 到 999 的整数"},
      {"subprogram O2000 has no end (M99)", "子程序 O2000 没有结束指令（M99）"},
      {"subprogram L10 has no end (M17 or RET)", "子程序 L10 没有结束指令（M17 或 RET）"},
      {"K is no centre word in the XY plane (G17)", "K 不是XY 平面（G17）的圆心字"},
      {"unexpected 0x00", "意外的字符 0x00"},
      {"unexpected 'x' in the arguments", "参数中有意外的字符 'x'"},
      {"CYCLE85: a negative feed rate", "CYCLE85：进给速度为负"},
      {"a negative feed rate", "进给速度为负"},
      {"G10 L3 is not read", "不支持 G10 L3"},
      {"CYCLE84 is not read", "不支持 CYCLE84"},
      {"the arc's radius at its start (10.0000 mm) and end (10.5000 mm) differ by more than "
       "0.01 mm",
       "圆弧起点半径（10.0000 mm）与终点半径（10.5000 mm）相差超过 0.01 mm"},
      {"TRAORI and TRAFOOF in one block", "TRAORI 和 TRAFOOF 在同一程序段中"},
      {"CYCLE800 mode 27 is not read", "不支持 CYCLE800 方式 27"},
      {"G68.2 in a drilling cycle", "钻孔循环中不能指定 G68.2"},
      {"an arc word in a drilling cycle", "钻孔循环中不能有圆弧字"},
      {"A3=, B3=, C3= belong to TRAORI", "A3=、B3=、C3= 只用于 TRAORI"},
      {"an incremental B after a tool vector: the axis's position is not known",
       "刀轴矢量之后不能用增量 B：该轴的位置未知"},
      // not a reason the interpreter gives: as it is
      {"something else", "something else"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReasonText(c.english), c.chinese) << c.english;
}

// Whether `text` still holds an English word (three lower-case letters).
bool HasEnglish(const std::string& text) {
  int run = 0;
  for (char c : text) {
    run = c >= 'a' && c <= 'z' ? run + 1 : 0;
    if (run == 3)
      return true;
  }
  return false;
}

zu::gcode::NcSystem Load(const char* file) {
  auto load =
      zu::gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/" + file);
  EXPECT_TRUE(load.ok) << load.error;
  return std::move(load.system);
}

// Every block below is refused or reported, each for a reason of its own.
TEST(ReasonTexts, EveryReasonOfTheInterpreterIsGivenInChinese) {
  const char* const fanuc_lines[] = {"G1 X1.",  // no feed rate
                                     "G41 D1 G2 X5. Y5. R5. F100",
                                     "G1 X10. F100",
                                     "G1 X1 Y2 X3",
                                     "G1 X",
                                     "G1 X1e99",
                                     "G1 X99999999999.",
                                     "G1 X1 $",
                                     "G1 X1 (OPEN",
                                     "G99.77",
                                     "G12.5",
                                     "M1000",
                                     "M200",
                                     "G1.5",
                                     "G1 G1 G1 G1 G1 G1 G1 G1 G1 G1 G1 G1 G1",
                                     "M1 M1 M1 M1 M1 M1 M1 M1 M1 M1 M1 M1 M1",
                                     "G1 X1 F-1",
                                     "S-1",
                                     "D1.5",
                                     "G1 X1 Q1",
                                     "G4",
                                     "G4 X1 P1",
                                     "G4 X-1",
                                     "G4 P1.5",
                                     "G10 X1",
                                     "G10 L2 P9 X1",
                                     "G10 L2 P1 R1",
                                     "G10 L3 P1 R1",
                                     "G10 L12 P1",
                                     "G10 L12 P1 R1 X1",
                                     "G91 G53 X1",
                                     "G53 G2 X1 R1",
                                     "G2 X0 Y0 R5",
                                     "G2 X100 R1",
                                     "G2 X1 I0 J0",
                                     "G2 X1 I10",
                                     "G2 X1",
                                     "G17 G2 X1 K1",
                                     "G81 X1 Z-1",
                                     "G81 X1 R1",
                                     "G83 X1 Z-1 R1",
                                     "G81 X1 Z5 R1",
                                     "G81 R1 Z-1 G28 X1",
                                     "G81 R1 Z-1 G53 X1",
                                     "G80",
                                     "M98",
                                     "M98 P9000",
                                     "O12 G1 X1 F100",
                                     "N5 O12",
                                     "G1 X1 F100 T1.5",
                                     "G4 S1",
                                     "M98 P1",
                                     "M99"};
  const char* const siemens_lines[] = {"CYCLE84(10,0,2,-5)",
                                       "CYCLE81(10,0,2,-5,,1,2,3)",
                                       "CYCLE81(10)",
                                       "CYCLE81(10,0,2)",
                                       "CYCLE81(10,0,2,5)",
                                       "CYCLE81(10,0,-2,-5)",
                                       "CYCLE81(0,10,2,-5)",
                                       "CYCLE82(10,0,2,-5,,-1)",
                                       "CYCLE83(10,0,2,-5)",
                                       "CYCLE83(10,0,2,-5,,5)",
                                       "CYCLE83(10,0,2,-5,,,2,,,,,3)",
                                       "CYCLE85(10,0,2,-5,,,-1)",
                                       "CYCLE81 X1",
                                       "CYCLE81(1,2,x)",
                                       "CYCLE81(1e99)",
                                       "CYCLE81(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17)",
                                       "CYCLE81(1 2)",
                                       "CYCLE81(10,0,2,-5) CYCLE82(10,0,2,-5)",
                                       "CIP X1 I1=1",
                                       "CIP CT X1",
                                       "G1 I1=1",
                                       "G1 CR=5 X1",
                                       "CR 5",
                                       "G2 CR=5 CR=6 X1",
                                       "CT X1",
                                       "G1 X1 F100\nCT X1",
                                       "G1 I1=1 I1=2",
                                       "T=\"\"",
                                       "T=\"A\" T=\"B\"",
                                       "T=\"A",
                                       "L123456789012345",
                                       "L1 L2",
                                       "SUB1 X1",
                                       "G19 G2 Y1 I1",
                                       "G1 X1 F100\nCIP X2 Y0 I1=1.5 J1=0",
                                       "ABC(1)",
                                       "G18 CT X1",
                                       "N1 G1 X1 F100 ; end\nRET\nRET"};
  const char* const linuxcnc_lines[] = {"G64 G4 P1",
                                        "G81 X1 Z-1 R1 G64 P0.1",
                                        "O100 sub",
                                        "G93 G1 X1 F1\nX2",
                                        "G93 G1 X1 F0",
                                        "G93 G81 X1 Z-1 R1 F1",
                                        "G81 X1 Z-1 R1 A5 F100",
                                        "G1 X1 F100\nG2 A10",
                                        "G28 X0 C0"};
  const char* const five_axis_siemens_lines[] = {
      "G1 X1 A3=1 F100",   "TRAORI\nG1 X1 A3=0 F100", "TRAORI\nG1 X1 A3=1 A30 F100",
      "TRAORI TRAFOOF",    "TRAORI\nG1 A3=1 A3=2",    "TRAORI\nG1 X1 A3=1 F1\nG91 A1",
      "TRAORI\nG4 F1 A3=1"};
  const char* const tilted_fanuc_lines[] = {"G68.2 J90.\nG68.2 J45.",
                                            "G53.1",
                                            "G68.2 J90. G4 X1.",
                                            "G68.2 J90.\nG1 X1. A10. F100",
                                            "G68.2 J90.\nG43.4 H1",
                                            "G43.4 H1\nG68.2 J90.",
                                            "G41 D1 G1 X1. F100\nG68.2 J90.",
                                            "G68.2 J90.\nG41 D1 G1 X1. F100",
                                            "G81 X1. Z-1. R1. F100\nG68.2 J90.",
                                            "G68.2 J90.\nG81 X1. Z-1. R1. F100",
                                            "G68.2 J90.\nG28 X0",
                                            "G68.2 J90.\nG55"};
  const char* const tilted_siemens_lines[] = {"CYCLE800(0,\"\",0,27)", "CYCLE800(0,\"\",0,,1)",
                                              "CYCLE800(0,\"\",1,57)", "CYCLE800(0,\"\",0,57) X1"};
  struct Run {
    const char* system;
    const char* const* lines;
    std::size_t count;
  } const runs[] = {
      {"FANUC-0i.xml", fanuc_lines, std::size(fanuc_lines)},
      {"SIEMENS-840D.xml", siemens_lines, std::size(siemens_lines)},
      {"LinuxCNC.xml", linuxcnc_lines, std::size(linuxcnc_lines)},
      {"SIEMENS-840D.xml", five_axis_siemens_lines, std::size(five_axis_siemens_lines)},
      {"FANUC-0i-AC-table.xml", tilted_fanuc_lines, std::size(tilted_fanuc_lines)},
      {"SIEMENS-840D-BC-head-table.xml", tilted_siemens_lines, std::size(tilted_siemens_lines)}};
  std::size_t reasons = 0;
  for (const Run& run : runs) {
    const zu::gcode::NcSystem system = Load(run.system);
    for (std::size_t i = 0; i < run.count; ++i) {
      zu::gcode::TextLineSource source(run.lines[i]);
      NullReceiver receiver;
      const auto read = zu::gcode::ReadProgram(system, source, receiver);
      for (const auto& error : read.errors) {
        ++reasons;
        const std::string text = ReasonText(error.message);
        EXPECT_FALSE(HasEnglish(text)) << run.lines[i] << ": " << error.message;
      }
    }
  }
  EXPECT_GT(reasons, 80u);
}

}  // namespace
}  // namespace zureader
