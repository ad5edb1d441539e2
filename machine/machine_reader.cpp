#include "machine/machine_reader.h"

// Parse errors come back as values: no exception leaves the library.
#define TOML_EXCEPTIONS 0
#define TOML_HEADER_ONLY 1
#include <toml++/toml.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "format_io/quoted.h"
#include "machine/internal/non_ascii.h"

namespace zu::machine {
namespace {

// How much of a refused string value a message shows.
constexpr std::size_t kShownBytes = 40;

std::string Number(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

const char* TypeName(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::table:
      return "a table";
    case toml::node_type::array:
      return "an array";
    case toml::node_type::string:
      return "a string";
    case toml::node_type::integer:
      return "an integer";
    case toml::node_type::floating_point:
      return "a number";
    case toml::node_type::boolean:
      return "true or false";
    default:
      return "a date or time";
  }
}

std::string Expected(const char* what, const toml::node& node) {
  return std::string("expected ") + what + ", got " + TypeName(node);
}

int LineOf(const toml::source_region& region) {
  return static_cast<int>(region.begin.line);
}

// Reads one key's value into the configuration; returns what is wrong with
// it ("" when it was taken).
using ReadValue = std::function<std::string(const toml::node&)>;

struct Field {
  const char* key;
  ReadValue read;
};

ReadValue Integer(int& out, std::int64_t low, std::int64_t high) {
  return [&out, low, high](const toml::node& node) -> std::string {
    const auto* value = node.as_integer();
    if (value == nullptr)
      return Expected("an integer", node);
    const std::int64_t v = value->get();
    if (v < low || v > high)
      return std::to_string(v) + " is out of range " + std::to_string(low) + ".." +
             std::to_string(high);
    out = static_cast<int>(v);
    return "";
  };
}

// A whole number of characters per line: 0 for no limit.
ReadValue LineLength(int& out) {
  return [&out](const toml::node& node) -> std::string {
    const auto* value = node.as_integer();
    if (value == nullptr)
      return Expected("an integer", node);
    const std::int64_t v = value->get();
    if (v != 0 && (v < 20 || v > 1024))
      return std::to_string(v) + " is out of range 0 (no limit) or 20..1024";
    out = static_cast<int>(v);
    return "";
  };
}

// A number (integer or floating point) with `low < v` (or `low <= v` when
// `low_included`) and `v <= high`; `range` says so in the message.
ReadValue Real(double& out, double low, bool low_included, double high, const char* range) {
  return [&out, low, low_included, high, range](const toml::node& node) -> std::string {
    double v = 0;
    if (const auto* integer = node.as_integer())
      v = static_cast<double>(integer->get());
    else if (const auto* real = node.as_floating_point())
      v = real->get();
    else
      return Expected("a number", node);
    const bool above_low = low_included ? v >= low : v > low;
    if (!(above_low && v <= high))  // also refuses nan
      return Number(v) + " is out of range " + range;
    out = v;
    return "";
  };
}

ReadValue Boolean(bool& out) {
  return [&out](const toml::node& node) -> std::string {
    const auto* value = node.as_boolean();
    if (value == nullptr)
      return Expected("true or false", node);
    out = value->get();
    return "";
  };
}

template <typename Enum>
ReadValue Choice(Enum& out, std::vector<std::pair<const char*, Enum>> choices) {
  return [&out, choices = std::move(choices)](const toml::node& node) -> std::string {
    const auto* value = node.as_string();
    if (value == nullptr)
      return Expected("a string", node);
    std::string names;
    for (const auto& [name, choice] : choices) {
      if (value->get() == name) {
        out = choice;
        return "";
      }
      names += std::string(names.empty() ? "" : ", ") + "\"" + name + "\"";
    }
    return fio::Quoted(value->get(), kShownBytes) + " is not one of " + names;
  };
}

// What a text value may hold.
struct TextRule {
  bool may_be_empty;
  std::size_t max_length;
  // Characters refused besides control bytes and bytes above 0x7E.
  std::string_view refused;
};

// The words of a block ("G17 G40 G80"): no comment or block-end characters,
// which would change how the control reads the rest of the line.
constexpr TextRule kWords{true, 80, "();%\""};
constexpr TextRule kCode{false, 16, "();% \""};
constexpr TextRule kOptionalCode{true, 16, "();% \""};
// Names the dialogs list and the file system holds.
constexpr TextRule kName{false, 64, "\\/:*?\"<>|"};
constexpr TextRule kFileName{true, 260, "*?\"<>|"};

ReadValue Text(std::string& out, TextRule rule) {
  return [&out, rule](const toml::node& node) -> std::string {
    const auto* value = node.as_string();
    if (value == nullptr)
      return Expected("a string", node);
    const std::string& text = value->get();
    if (text.empty() && !rule.may_be_empty)
      return "must not be empty";
    if (text.size() > rule.max_length)
      return fio::Quoted(text, kShownBytes) + " is longer than " + std::to_string(rule.max_length) +
             " characters";
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte > 0x7E || rule.refused.find(c) != std::string_view::npos)
        return fio::Quoted(text, kShownBytes) + " holds '" + fio::Escaped(std::string(1, c)) +
               "', which is not allowed here";
    }
    out = text;
    return "";
  };
}

// The text written after each block: nothing or ";".
ReadValue BlockEnd(std::string& out) {
  return [&out](const toml::node& node) -> std::string {
    const auto* value = node.as_string();
    if (value == nullptr)
      return Expected("a string", node);
    if (value->get() != "" && value->get() != ";")
      return fio::Quoted(value->get(), kShownBytes) + " is not one of \"\", \";\"";
    out = value->get();
    return "";
  };
}

ReadValue Address(char& out) {
  return [&out](const toml::node& node) -> std::string {
    const auto* value = node.as_string();
    if (value == nullptr)
      return Expected("a string", node);
    const std::string& text = value->get();
    if (text != "F" && text != "P" && text != "U" && text != "X")
      return fio::Quoted(text, kShownBytes) + " is not one of \"F\", \"P\", \"U\", \"X\"";
    out = text[0];
    return "";
  };
}

// Three numbers, [x, y, z], each of magnitude at most `limit`.
ReadValue Triple(kin::Vec3& out, double limit, const char* range) {
  return [&out, limit, range](const toml::node& node) -> std::string {
    const auto* array = node.as_array();
    if (array == nullptr || array->size() != 3)
      return array == nullptr ? Expected("an array of three numbers", node)
                              : "expected an array of three numbers, got " +
                                    std::to_string(array->size()) + " values";
    double v[3];
    for (std::size_t i = 0; i < 3; ++i) {
      const toml::node& item = *array->get(i);
      if (const auto* integer = item.as_integer())
        v[i] = static_cast<double>(integer->get());
      else if (const auto* real = item.as_floating_point())
        v[i] = real->get();
      else
        return "expected an array of three numbers, got " + std::string(TypeName(item)) +
               " among them";
      if (!(std::fabs(v[i]) <= limit))  // also refuses nan
        return Number(v[i]) + " is out of range " + range;
    }
    out = {v[0], v[1], v[2]};
    return "";
  };
}

struct Section {
  const char* table;
  std::vector<Field> fields;
  std::vector<Section> parts = {};  // sub-tables: [table.part]
};

// The keys of one rotary axis, [kinematics.primary] or [kinematics.secondary].
Section AxisSection(const char* name, kin::RotaryAxis& a) {
  return {name,
          {{"letter", Choice(a.letter, {{"A", 'A'}, {"B", 'B'}, {"C", 'C'}})},
           {"direction", Triple(a.direction, 1e6, "-1000000..1000000")},
           {"reversed", Boolean(a.reversed)},
           {"pivot", Triple(a.pivot, 1e5, "-100000..100000")},
           {"min", Real(a.min, -1e5, true, 1e5, "-100000..100000")},
           {"max", Real(a.max, -1e5, true, 1e5, "-100000..100000")},
           {"continuous", Boolean(a.continuous)},
           {"preferred_sign",
            Choice(a.preferred_sign, {{"none", 0}, {"positive", 1}, {"negative", -1}})}},
          {}};
}

std::vector<Section> Sections(MachineConfig& c, Kinematics& k) {
  constexpr std::int64_t kMaxBlockNumber = 99999999;
  return {
      {"identity",
       {{"name", Text(c.identity.name, kName)},
        {"description", Text(c.identity.description, kFileName)},
        {"units", Choice(c.identity.units, {{"mm", Units::kMillimetre}, {"inch", Units::kInch}})}}},
      {"decimals",
       {{"coordinates", Integer(c.decimals.coordinates, 0, 6)},
        {"feed", Integer(c.decimals.feed, 0, 6)},
        {"speed", Integer(c.decimals.speed, 0, 6)},
        {"dwell", Integer(c.decimals.dwell, 0, 6)}}},
      {"block",
       {{"numbers", Boolean(c.block.numbers)},
        {"number_start", Integer(c.block.number_start, 1, kMaxBlockNumber)},
        {"number_increment", Integer(c.block.number_increment, 1, kMaxBlockNumber)},
        {"number_max", Integer(c.block.number_max, 1, kMaxBlockNumber)},
        {"end_of_block", BlockEnd(c.block.end_of_block)},
        {"comments", Choice(c.block.comments, {{"parentheses", CommentStyle::kParentheses},
                                               {"semicolon", CommentStyle::kSemicolon}})},
        {"max_line_length", LineLength(c.block.max_line_length)},
        {"frame", Choice(c.block.frame, {{"o-word", ProgramFrame::kOWord},
                                         {"percent-number", ProgramFrame::kPercentNumber},
                                         {"mpf-name", ProgramFrame::kMpfName},
                                         {"plain", ProgramFrame::kPlain}})},
        {"program_number", Integer(c.block.program_number, 1, 99999999)},
        {"percent_lines", Boolean(c.block.percent_lines)},
        {"safe_start", Text(c.block.safe_start, kWords)},
        {"work_offset", Text(c.block.work_offset, kOptionalCode)},
        {"program_end", Text(c.block.program_end, kCode)}}},
      {"modal",
       {{"motion", Boolean(c.modal.motion)},
        {"coordinates", Boolean(c.modal.coordinates)},
        {"feed", Boolean(c.modal.feed)},
        {"speed", Boolean(c.modal.speed)}}},
      {"arcs",
       {{"centre", Choice(c.arcs.centre, {{"incremental", ArcCentre::kIncremental},
                                          {"absolute", ArcCentre::kAbsolute},
                                          {"radius", ArcCentre::kRadius}})},
        {"radius_word",
         Choice(c.arcs.radius_word, {{"R", RadiusWord::kR}, {"CR=", RadiusWord::kCrEquals}})},
        {"xy", Boolean(c.arcs.xy)},
        {"zx", Boolean(c.arcs.zx)},
        {"yz", Boolean(c.arcs.yz)},
        {"max_sweep_degrees", Real(c.arcs.max_sweep_degrees, 1, true, 360, "1..360")},
        {"helical", Boolean(c.arcs.helical)},
        {"min_radius", Real(c.arcs.min_radius, 0, false, 100, "above 0, at most 100")},
        {"max_radius", Real(c.arcs.max_radius, 0, true, 1e6, "0 (no limit) to 1000000")}}},
      {"tools",
       {{"change", Choice(c.tools.change, {{"T M6", ToolChange::kTM6},
                                           {"M6 T", ToolChange::kM6T},
                                           {"T name", ToolChange::kTName}})},
        {"preselect_next", Boolean(c.tools.preselect_next)},
        {"length_offset", Boolean(c.tools.length_offset)},
        {"length_offset_code", Text(c.tools.length_offset_code, kCode)},
        {"cancel_length_offset", Text(c.tools.cancel_length_offset, kOptionalCode)},
        {"length_register_offset", Integer(c.tools.length_register_offset, 0, 999)},
        {"radius_register_offset", Integer(c.tools.radius_register_offset, 0, 999)},
        {"spindle_cw", Text(c.tools.spindle_cw, kCode)},
        {"spindle_ccw", Text(c.tools.spindle_ccw, kCode)},
        {"spindle_stop", Text(c.tools.spindle_stop, kCode)},
        {"coolant_on", Text(c.tools.coolant_on, kOptionalCode)},
        {"coolant_off", Text(c.tools.coolant_off, kOptionalCode)}}},
      {"cycles",
       {{"form", Choice(c.cycles.form, {{"g-codes", CycleForm::kGCodes},
                                        {"siemens-cycles", CycleForm::kSiemensCycles},
                                        {"expanded", CycleForm::kExpanded}})},
        {"retract_initial", Text(c.cycles.retract_initial, kOptionalCode)},
        {"retract_r", Text(c.cycles.retract_r, kOptionalCode)},
        {"return_to_initial", Boolean(c.cycles.return_to_initial)},
        {"cancel", Text(c.cycles.cancel, kOptionalCode)},
        {"dwell_address", Address(c.cycles.dwell_address)},
        {"dwell_unit", Choice(c.cycles.dwell_unit,
                              {{"s", DwellUnit::kSeconds}, {"ms", DwellUnit::kMilliseconds}})}}},
      {"verification",
       {{"tolerance", Real(c.verification.tolerance, 0, false, 1, "above 0, at most 1")}}},
      {"kinematics",
       {{"layout", Choice(k.layout.layout, {{"table-table", kin::Layout::kTableTable},
                                            {"head-head", kin::Layout::kHeadHead},
                                            {"head-table", kin::Layout::kHeadTable}})},
        {"pivot_length", Real(k.layout.pivot_length, 0, true, 1e4, "0..10000")},
        {"singular_degrees", Real(k.layout.singular_degrees, 0, false, 10, "above 0, at most 10")},
        {"linearise_tolerance",
         Real(k.layout.linearise_tolerance, 0, false, 1, "above 0, at most 1")},
        {"linearise_axis_degrees",
         Real(k.layout.linearise_axis_degrees, 0, false, 10, "above 0, at most 10")},
        {"tcp", Choice(k.tcp, {{"none", TcpMode::kNone},
                               {"G43.4", TcpMode::kG43_4},
                               {"TRAORI", TcpMode::kTraori},
                               {"words", TcpMode::kWords}})},
        {"orientation", Choice(k.vectors, {{"angles", false}, {"vectors", true}})},
        {"tcp_on", Text(k.tcp_on, kWords)},
        {"tcp_off", Text(k.tcp_off, kWords)},
        {"feed", Choice(k.feed, {{"programmed", FiveAxisFeed::kProgrammed},
                                 {"inverse-time", FiveAxisFeed::kInverseTime}})},
        {"inverse_time_on", Text(k.inverse_time_on, kCode)},
        {"inverse_time_off", Text(k.inverse_time_off, kOptionalCode)},
        {"tilted_plane", Choice(k.tilted_plane, {{"post", TiltedPlane::kPost},
                                                 {"G68.2", TiltedPlane::kG68_2},
                                                 {"CYCLE800", TiltedPlane::kCycle800}})}},
       {AxisSection("primary", k.layout.primary), AxisSection("secondary", k.layout.secondary)}},
  };
}

class Reader {
 public:
  explicit Reader(std::string_view file_name) : file_name_(file_name) {}

  MachineReadResult Read(std::string_view text) {
    if (const int line = internal::NonAsciiLine(text); line != 0)
      return Refuse(line,
                    "a byte above 0x7F outside a comment (only comments may hold "
                    "characters other than ASCII)");
    toml::parse_result parsed = toml::parse(text, file_name_);
    if (!parsed)
      return Refuse(LineOf(parsed.error().source()), fio::Escaped(parsed.error().description()));
    MachineConfig config;
    Kinematics kinematics;
    std::vector<Section> sections = Sections(config, kinematics);
    // Tables and keys come sorted by name: every one is read, and the
    // refusal the message names is the one nearest the file's start.
    for (auto&& [key, node] : parsed.table()) {
      const int line = LineOf(key.source());
      Section* section = nullptr;
      for (auto& candidate : sections)
        if (key.str() == candidate.table)
          section = &candidate;
      if (section == nullptr)
        Note(line, node.is_table() ? "unknown table [" + fio::Escaped(key.str()) + "]"
                                   : fio::Escaped(key.str()) + ": unknown key outside the tables");
      else if (const auto* table = node.as_table())
        ReadSection(*section, section->table, *table, line);
      else
        Note(line, "[" + std::string(section->table) + "]: " + Expected("a table", node));
    }
    if (first_line_ != 0)
      return Refuse(first_line_, first_error_);
    if (auto error = CheckTogether(config); !error.empty())
      return {std::nullopt, error};
    if (lines_.count("[kinematics]") != 0) {
      if (auto error = CheckKinematics(config, kinematics); !error.empty())
        return {std::nullopt, error};
      config.kinematics = std::move(kinematics);
    }
    return {std::move(config), ""};
  }

 private:
  // Reads `table` as the section named `name` ("kinematics.primary" for a
  // part), which begins at `line`.
  void ReadSection(const Section& section, const std::string& name, const toml::table& table,
                   int line_of_table) {
    const std::string prefix = "[" + name + "] ";
    lines_["[" + name + "]"] = line_of_table;
    for (auto&& [key, node] : table) {
      const int line = LineOf(key.source());
      const Field* field = nullptr;
      for (const auto& candidate : section.fields)
        if (key.str() == candidate.key)
          field = &candidate;
      const Section* part = nullptr;
      for (const auto& candidate : section.parts)
        if (key.str() == candidate.table)
          part = &candidate;
      if (part != nullptr) {
        if (const auto* part_table = node.as_table())
          ReadSection(*part, name + "." + part->table, *part_table, line);
        else
          Note(line, prefix + part->table + ": " + Expected("a table", node));
      } else if (field == nullptr)
        Note(line, prefix + fio::Escaped(key.str()) + ": unknown key");
      else if (auto error = field->read(node); !error.empty())
        Note(line, prefix + field->key + ": " + error);
      else
        lines_[prefix + field->key] = line;
    }
  }

  // Keeps the refusal of the earliest line (the first of a line).
  void Note(int line, std::string what) {
    if (first_line_ == 0 || line < first_line_) {
      first_line_ = line;
      first_error_ = std::move(what);
    }
  }

  // What no single value shows: the name is given, the numbering's start
  // lies below its wrap, the radius limits do not cross, and the safe start
  // does not switch to the other units.
  std::string CheckTogether(const MachineConfig& c) {
    if (c.identity.name.empty())
      return file_name_ + ": [identity] name is missing";
    if (c.block.number_start > c.block.number_max)
      return At("[block] number_start", std::to_string(c.block.number_start) +
                                            " is above number_max " +
                                            std::to_string(c.block.number_max));
    if (c.arcs.max_radius != 0 && c.arcs.max_radius <= c.arcs.min_radius)
      return At("[arcs] max_radius", Number(c.arcs.max_radius) + " is not above min_radius " +
                                         Number(c.arcs.min_radius));
    const bool inch = c.identity.units == Units::kInch;
    const char* other[] = {"G20", "G70", "G700"};
    const char* metric[] = {"G21", "G71", "G710"};
    std::string_view words = c.block.safe_start;
    while (!words.empty()) {
      const std::size_t space = words.find(' ');
      const std::string_view word = words.substr(0, space);
      for (const char* unit : inch ? metric : other)
        if (word == unit)
          return At("[block] safe_start",
                    std::string(unit) + " selects " + (inch ? "millimetres" : "inches") +
                        " but [identity] units is \"" + (inch ? "inch" : "mm") + "\"");
      words = space == std::string_view::npos ? "" : words.substr(space + 1);
    }
    return "";
  }

  // The five-axis table: the layout's geometry (kinematics/ checks it), the
  // modes that need each other, and the defaults that follow from others.
  std::string CheckKinematics(const MachineConfig& c, Kinematics& k) {
    if (lines_.count("[kinematics] linearise_tolerance") == 0)
      k.layout.linearise_tolerance = c.verification.tolerance;
    if (lines_.count("[kinematics] feed") == 0 && k.tcp != TcpMode::kNone)
      k.feed = FiveAxisFeed::kProgrammed;
    if (const std::string fault = kin::CheckLayout(k.layout); !fault.empty()) {
      // "secondary.direction: what" names [kinematics.secondary] direction.
      const std::size_t colon = fault.find(": ");
      const std::string field = fault.substr(0, colon);
      const std::size_t dot = field.find('.');
      const std::string key = dot == std::string::npos ? "[kinematics] " + field
                                                       : "[kinematics." + field.substr(0, dot) +
                                                             "] " + field.substr(dot + 1);
      return At(key, fault.substr(colon + 2));
    }
    if (k.vectors && k.tcp != TcpMode::kTraori)
      return At("[kinematics] orientation", "\"vectors\" needs tcp = \"TRAORI\"");
    if (k.tcp == TcpMode::kWords && k.tcp_on.empty())
      return At("[kinematics] tcp", "\"words\" needs the words of tcp_on");
    if (k.tcp == TcpMode::kNone && k.feed == FiveAxisFeed::kProgrammed)
      return At("[kinematics] feed",
                "\"programmed\" needs a tcp mode: without one the post computes the axes "
                "and the feed is inverse time");
    if (k.layout.linearise_tolerance > c.verification.tolerance)
      return At("[kinematics] linearise_tolerance", Number(k.layout.linearise_tolerance) +
                                                        " is above [verification] tolerance " +
                                                        Number(c.verification.tolerance));
    return "";
  }

  // `what` about the key named `key` (as "[table] key"), at its line; a key
  // left out is named at its table's line, or the file's.
  std::string At(const std::string& key, const std::string& what) {
    auto found = lines_.find(key);
    if (found == lines_.end())
      found = lines_.find(key.substr(0, key.find(']') + 1));
    const std::string where =
        found == lines_.end() ? file_name_ : file_name_ + " line " + std::to_string(found->second);
    return where + ": " + key + ": " + what;
  }

  MachineReadResult Refuse(int line, const std::string& what) {
    return {std::nullopt, file_name_ + " line " + std::to_string(line) + ": " + what};
  }

  std::string file_name_;
  std::map<std::string, int> lines_;
  int first_line_ = 0;
  std::string first_error_;
};

}  // namespace

MachineReadResult ParseMachineConfig(std::string_view text, std::string_view file_name) {
  return Reader(file_name).Read(text);
}

MachineReadResult ReadMachineConfig(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  char chunk[4096];
  while (in && text.size() <= kMaxMachineFileBytes) {
    in.read(chunk, sizeof chunk);
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (!in.eof() && text.size() <= kMaxMachineFileBytes)
    return {std::nullopt, path + ": cannot be read"};
  if (text.size() > kMaxMachineFileBytes)
    return {std::nullopt, path + ": is larger than " + std::to_string(kMaxMachineFileBytes) +
                              " bytes, not a machine configuration"};
  return ParseMachineConfig(text, path);
}

}  // namespace zu::machine
