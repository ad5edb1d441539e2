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

}  // namespace zureader
