#include "reader/read_problems.h"

#include <cinttypes>
#include <cstdio>

#include "format_io/quoted.h"
#include "reader/reason_texts.h"

namespace zureader {

std::string SystemNotLoadedText(const std::string& xml_file, const std::string& reason) {
  return "无法读入数控系统描述，代码没有反读：\n" + xml_file + "\n" + reason;
}

std::string CodeFileNotReadText(const std::string& code_file, bool opened) {
  return (opened ? "代码文件没有读完，读到的轨迹已生成：\n" : "无法打开代码文件：\n") + code_file;
}

std::string ProgramProblemsText(const std::string& code_file, const zu::gcode::ProgramRead& read) {
  if (read.ok())
    return {};
  char head[200];
  if (read.left_out == read.error_count)
    std::snprintf(head, sizeof head, "代码文件中有 %" PRIu64 " 个程序段无法识别，已跳过：\n",
                  read.error_count);
  else
    std::snprintf(head, sizeof head,
                  "代码文件中有 %" PRIu64 " 处错误，其中 %" PRIu64 " 个程序段无法识别，已跳过：\n",
                  read.error_count, read.left_out);
  std::string text = head + code_file + "\n";
  std::size_t listed = 0;
  for (const auto& error : read.errors) {
    if (listed == kListedErrors)
      break;
    ++listed;
    char line[40];
    std::snprintf(line, sizeof line, "\n第 %" PRIu64 " 行 ", error.line);
    text += line;
    text += zu::fio::Escaped(error.block);
    text += "\n    ";
    text += zu::fio::Escaped(ReasonText(error.message));
  }
  if (read.error_count > listed) {
    char more[80];
    std::snprintf(more, sizeof more, "\n……另有 %" PRIu64 " 处", read.error_count - listed);
    text += more;
  }
  return text;
}

std::string MultiAxisText(const zu::gcode::ProgramRead& read) {
  if (!read.multi_axis())
    return {};
  std::string what;
  for (int i = 0; i < 3; ++i) {
    if ((read.rotary_axes >> i & 1) != 0)
      what += std::string(what.empty() ? "旋转轴 " : " ") + static_cast<char>('A' + i);
  }
  if (read.tool_vectors)
    what += std::string(what.empty() ? "" : "、") + "刀轴矢量 A3= B3= C3=";
  std::string text = "代码文件是多轴程序";
  if (!what.empty())
    text += "（" + what + "）";
  text +=
      "。反读的路径只保存 X Y Z 移动：旋转轴位置和刀轴方向没有保存，只转动旋转轴的程序段没有生成"
      "移动。";
  if (read.tool_centre_point)
    text += "\n刀具中心点控制下 X Y Z 是刀尖位置；其余程序段中是机床直线轴位置。";
  else if (read.rotary_axes != 0)
    text += "\n程序没有刀具中心点控制：X Y Z 是机床直线轴位置，不是刀尖位置。";
  if (read.inverse_time)
    text += "\n反比时间进给（G93）已换算为每分钟进给：X Y Z 路径长度乘以 F。";
  return text;
}

std::string ReadingMessage(const std::string& code_file, const zu::gcode::ProgramRead& read) {
  const std::string note = MultiAxisText(read);
  const std::string problems = ProgramProblemsText(code_file, read);
  if (note.empty())
    return problems;
  return note + "\n" + (problems.empty() ? code_file : "\n" + problems);
}

}  // namespace zureader
