#include "reader/reason_texts.h"

#include <array>
#include <utility>
#include <vector>

namespace zureader {
namespace {

// Each reason's form, '*' where a value stands, and its text with the
// values in the same order. A more particular form comes before a more
// general one that would match it too.
struct Form {
  const char* english;
  const char* chinese;
};

constexpr Form kForms[] = {
    // Reading and programs
    {"a feed move with no feed rate in force (a control raises an alarm)",
     "进给移动没有指定进给速度（数控系统会报警），仍按进给移动读入"},
    {"an O word this reader does not know: reading ends here", "无法识别的 O 指令，读到此处为止"},
    {"the main program has no end (*) before this program: reading ends here",
     "主程序在此程序之前没有结束指令（*），读到此处为止"},
    {"cutter compensation * starts on an arc (a control raises an alarm): it starts at the next "
     "straight move",
     "刀具半径补偿 * 在圆弧程序段中建立（数控系统会报警），改在下一直线移动建立"},
    {"more than * subprogram runs", "子程序执行超过 * 次"},
    {"recursive call of subprogram *", "子程序 * 被递归调用"},
    {"subprogram * has no end (*)", "子程序 * 没有结束指令（*）"},
    {"subprogram calls need an input that can be read again", "子程序调用需要能重新读取的输入"},
    {"subprogram calls nested deeper than *", "子程序嵌套超过 * 层"},
    {"subprogram number too long", "子程序号太长"},
    {"the subprogram call needs its number *", "子程序调用缺少程序号 *"},
    {"no subprogram * in the file", "文件中没有子程序 *"},
    {"the input could not be read on", "无法继续读取输入"},
    {"the line is longer than * characters", "该行超过 * 个字符"},
    {"a program number must begin its line", "程序号必须在行首"},
    // Words and numbers
    {"missing value after *", "* 后缺少数值"},
    {"the value of * is out of range", "* 的数值超出范围"},
    {"unexpected * in the arguments", "参数中有意外的字符 *"},
    {"unexpected *", "意外的字符 *"},
    {"unclosed '('", "缺少 ')'"},
    {"unclosed '\"'", "缺少 '\"'"},
    {"unknown word * (a subprogram call stands in a block of its own)",
     "未知字 *（子程序调用须单独成段）"},
    {"unknown word *", "未知字 *"},
    {"unknown code *", "未知代码 *"},
    {"no such G code", "没有这个 G 代码"},
    {"no such M code", "没有这个 M 代码"},
    {"too many G codes in one block", "一个程序段中 G 代码太多"},
    {"too many M codes in one block", "一个程序段中 M 代码太多"},
    {"two cycle calls in one block", "一个程序段中有两个循环调用"},
    {"two subprogram calls in one block", "一个程序段中有两个子程序调用"},
    {"more than 16 arguments", "参数超过 16 个"},
    {"argument * is not a number", "第 * 个参数不是数值"},
    {"argument * is out of range", "第 * 个参数超出范围"},
    {"* needs its arguments in parentheses", "* 的参数须写在括号中"},
    {"CR needs '='", "CR 后缺少 '='"},
    {"a tool name of 1 to 64 characters", "刀具名称须为 1 到 64 个字符"},
    {"* given twice", "* 重复"},
    {"* has no meaning in this block", "* 在该程序段中没有意义"},
    {"* takes a whole number from 0 to *", "* 须为 0 到 * 的整数"},
    {"* takes whole milliseconds, without a decimal point", "* 须为整数毫秒，不带小数点"},
    // Technology
    {"a negative feed rate", "进给速度为负"},
    {"a negative spindle speed", "主轴转速为负"},
    {"M* calls no subprogram on this system", "该数控系统中 M* 不调用子程序"},
    // Dwells
    {"the dwell needs its time", "暂停缺少时间"},
    {"the dwell takes one time word", "暂停只能有一个时间字"},
    {"a negative dwell time *", "暂停时间 * 为负"},
    {"a dwell in revolutions (*) needs a spindle speed", "以转数计的暂停（*）需要主轴转速"},
    // Offsets and machine coordinates
    {"G10 needs L and P", "G10 缺少 L 和 P"},
    {"G10 L2 P*: no such work offset", "G10 L2 P*：没有这个工件坐标系"},
    {"R has no meaning in G10 L2", "G10 L2 中 R 没有意义"},
    {"G10 L* is not read", "不支持 G10 L*"},
    {"G10 L* needs R", "G10 L* 缺少 R"},
    {"G10 L* takes no axis word", "G10 L* 不能有坐标轴字"},
    {"G53 positions are absolute: the block cannot be incremental",
     "G53 的位置是绝对值，程序段不能是增量方式"},
    {"G53 takes straight moves only", "G53 只能用于直线移动"},
    {"G53 in a drilling cycle", "钻孔循环中不能有 G53"},
    {"G28 in a drilling cycle", "钻孔循环中不能有 G28"},
    {"P or Q of a path tolerance in a block that uses them otherwise",
     "该程序段中 P 或 Q 另有含义，不能作为路径公差"},
    // Arcs
    {"an arc given by its radius cannot be a full circle", "用半径给定的圆弧不能是整圆"},
    {"the radius * mm is too small for the arc's end point, * mm away from the middle",
     "半径 * mm 太小：圆弧终点离弦的中点 * mm"},
    {"the arc's centre is its start point", "圆弧的圆心与起点重合"},
    {"the arc's radius at its start (* mm) and end (* mm) differ by more than * mm",
     "圆弧起点半径（* mm）与终点半径（* mm）相差超过 * mm"},
    {"the arc needs its centre (*, *) or a radius", "圆弧缺少圆心（*、*）或半径"},
    {"* is no centre word in the *", "* 不是*的圆心字"},
    {"CIP and CT in one block", "CIP 和 CT 在同一程序段中"},
    {"CIP's start, intermediate and end points lie on one line",
     "CIP 的起点、中间点和终点在一条直线上"},
    {"I1=, J1=, K1= belong to CIP", "I1=、J1=、K1= 只用于 CIP"},
    {"CR= belongs to G2 and G3", "CR= 只用于 G2 和 G3"},
    {"CT needs the direction of the move before it in the *", "CT 需要前一移动在*内的方向"},
    {"CT needs an end point apart from its start", "CT 的终点不能与起点重合"},
    // Tilted planes
    {"* while a tilted plane is in force: it must be cancelled first",
     "倾斜面有效时不能再指定 *：须先取消"},
    {"* without a tilted plane", "没有倾斜面时不能指定 *"},
    {"* under tool-centre-point control", "刀具中心点控制下不能指定 *"},
    {"* with cutter compensation on", "刀具半径补偿有效时不能指定 *"},
    {"* with a command of another kind in one block", "* 不能与其他种类的指令在同一程序段中"},
    {"CYCLE800 stands in a block of its own", "CYCLE800 须单独成段"},
    {"CYCLE800 needs its mode _MODE", "CYCLE800 缺少方式 _MODE"},
    {"CYCLE800 mode * is not read", "不支持 CYCLE800 方式 *"},
    {"CYCLE800 with an additive swivel (_ST) is not read", "不支持 CYCLE800 的叠加回转（_ST）"},
    {"a rotary axis or tool vector in a tilted plane", "倾斜面中不能有旋转轴或刀轴矢量"},
    {"tool-centre-point control in a tilted plane", "倾斜面中不能有刀具中心点控制"},
    {"machine positions (G28, G53) in a tilted plane", "倾斜面中不能有机床坐标位置（G28、G53）"},
    {"a drilling cycle in a tilted plane is not read", "不支持倾斜面中的钻孔循环"},
    {"cutter compensation in a tilted plane is not read", "不支持倾斜面中的刀具半径补偿"},
    {"a work offset change in a tilted plane", "倾斜面中不能改变工件坐标系"},
    // Drilling cycles
    {"this system has no drilling cycles of G codes", "该数控系统没有 G 代码钻孔循环"},
    {"a cycle call in a G8x drilling cycle", "G8x 钻孔循环中不能调用循环"},
    {"an arc word in a drilling cycle", "钻孔循环中不能有圆弧字"},
    {"the drilling cycle needs its R level", "钻孔循环缺少 R 平面"},
    {"the drilling cycle needs its Z depth", "钻孔循环缺少孔底 Z"},
    {"the peck drilling cycle needs its peck depth Q", "深孔钻循环缺少每次钻深 Q"},
    {"the hole's bottom Z is not below its R level", "孔底 Z 不在 R 平面以下"},
    {"CYCLE83 needs its first depth FDEP or FDPR", "CYCLE83 缺少第一次钻深 FDEP 或 FDPR"},
    {"CYCLE83: VARI is 0 (chip breaking) or 1 (chip removal)",
     "CYCLE83：VARI 只能是 0（断屑）或 1（排屑）"},
    {"CYCLE83: the first depth is not below the reference plane",
     "CYCLE83：第一次钻深不在参考平面以下"},
    {"* is not read", "不支持 *"},
    {"* needs its depth DP or DPR", "* 缺少孔深 DP 或 DPR"},
    {"* needs its return plane RTP and reference plane RFP", "* 缺少返回平面 RTP 和参考平面 RFP"},
    {"* takes at most * arguments", "* 最多有 * 个参数"},
    {"*: a dwell in revolutions needs a spindle speed", "*：以转数计的暂停需要主轴转速"},
    {"*: a negative feed rate", "*：进给速度为负"},
    {"*: a negative safety distance", "*：安全距离为负"},
    {"*: the hole's bottom is not below its reference plane", "*：孔底不在参考平面以下"},
    {"*: the return plane lies below the reference plane", "*：返回平面低于参考平面"},
    // Five axes
    {"a feed move under inverse-time feed (G93) without its F (a control raises an alarm)",
     "反比时间进给（G93）下的进给移动没有指定 F（数控系统会报警）"},
    {"an inverse-time F (G93) must be above 0", "反比时间进给（G93）的 F 必须大于 0"},
    {"a drilling cycle under inverse-time feed (G93)", "反比时间进给（G93）下不能有钻孔循环"},
    {"a rotary axis or tool vector in a drilling cycle", "钻孔循环中不能有旋转轴或刀轴矢量"},
    {"a rotary axis or tool vector alone in an arc block",
     "圆弧程序段中只有旋转轴或刀轴矢量，缺少圆弧终点或圆心"},
    {"A3=, B3=, C3= have no meaning in this block", "A3=、B3=、C3= 在该程序段中没有意义"},
    {"A3=, B3=, C3= belong to tool-centre-point control", "A3=、B3=、C3= 只用于刀具中心点控制"},
    {"A3=, B3=, C3= belong to *", "A3=、B3=、C3= 只用于 *"},
    {"a tool vector and rotary axis words in one block", "刀轴矢量和旋转轴字在同一程序段中"},
    {"a tool vector of length 0", "刀轴矢量长度为 0"},
    {"an incremental * after a tool vector: the axis's position is not known",
     "刀轴矢量之后不能用增量 *：该轴的位置未知"},
    {"* and * in one block", "* 和 * 在同一程序段中"},
    {"* in a drilling cycle", "钻孔循环中不能指定 *"},
};

// Words that stand inside a value (the plane a centre word belongs to, the
// end words of a program).
constexpr std::pair<const char*, const char*> kValueWords[] = {
    {"XY plane (G17)", "XY 平面（G17）"},
    {"ZX plane (G18)", "ZX 平面（G18）"},
    {"YZ plane (G19)", "YZ 平面（G19）"},
    {" or ", " 或 "},
};

// Whether `text` has the form `form`; the values in `values`.
bool Match(std::string_view form, std::string_view text, std::vector<std::string_view>& values) {
  if (form.empty())
    return text.empty();
  if (form[0] != '*') {
    if (text.empty() || text[0] != form[0])
      return false;
    return Match(form.substr(1), text.substr(1), values);
  }
  // A value is at least one character; the shortest that lets the rest match.
  for (std::size_t length = 1; length <= text.size(); ++length) {
    values.push_back(text.substr(0, length));
    if (Match(form.substr(1), text.substr(length), values))
      return true;
    values.pop_back();
  }
  return false;
}

std::string Value(std::string_view value) {
  std::string out(value);
  for (const auto& [english, chinese] : kValueWords) {
    const std::string_view from(english);
    for (std::size_t at = out.find(from); at != std::string::npos;
         at = out.find(from, at + std::string_view(chinese).size()))
      out.replace(at, from.size(), chinese);
  }
  return out;
}

}  // namespace

std::string ReasonText(std::string_view reason) {
  std::vector<std::string_view> values;
  for (const Form& form : kForms) {
    values.clear();
    if (!Match(form.english, reason, values))
      continue;
    std::string out;
    std::size_t next = 0;
    for (const char* c = form.chinese; *c; ++c) {
      if (*c == '*' && next < values.size())
        out += Value(values[next++]);
      else
        out += *c;
    }
    return out;
  }
  return std::string(reason);
}

}  // namespace zureader
