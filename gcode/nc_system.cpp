#include "gcode/nc_system.h"

#include <cmath>
#include <utility>

namespace zu::gcode {
namespace {

constexpr std::uint32_t Letters(std::string_view letters) {
  std::uint32_t mask = 0;
  for (char c : letters)
    mask |= 1u << (c - 'A');
  return mask;
}

// The root's children, each allowed once.
constexpr std::string_view kSections[] = {
    "syntax",      "numbers", "start",        "programs", "arcs",   "dwell",  "tools",  "cycles",
    "subprograms", "paths",   "work_offsets", "home",     "gcodes", "mcodes", "ignore", "rotary"};

// The functions a G code may name, and those an M code may.
struct Named {
  std::string_view name;
  Function function;
};
constexpr Named kGFunctions[] = {
    {"ignore", Function::kIgnore},
    {"rapid", Function::kRapid},
    {"linear", Function::kLinear},
    {"arc_cw", Function::kArcClockwise},
    {"arc_ccw", Function::kArcCounterClockwise},
    {"dwell", Function::kDwell},
    {"plane_xy", Function::kPlaneXY},
    {"plane_zx", Function::kPlaneZX},
    {"plane_yz", Function::kPlaneYZ},
    {"inch", Function::kInches},
    {"mm", Function::kMillimetres},
    {"absolute", Function::kAbsolute},
    {"incremental", Function::kIncremental},
    {"offset_cancel", Function::kOffsetCancel},
    {"machine_coordinates", Function::kMachineCoordinates},
    {"compensation_off", Function::kCompensationOff},
    {"compensation_left", Function::kCompensationLeft},
    {"compensation_right", Function::kCompensationRight},
    {"length_offset", Function::kLengthOffset},
    {"length_offset_cancel", Function::kLengthOffsetCancel},
    {"cycle", Function::kCycle},
    {"cycle_cancel", Function::kCycleCancel},
    {"return_initial", Function::kReturnInitial},
    {"return_r", Function::kReturnR},
    {"offset_data", Function::kOffsetData},
    {"home", Function::kHome},
    {"path_tolerance", Function::kPathTolerance},
    {"tool_centre_point", Function::kToolCentrePoint},
    {"inverse_time", Function::kInverseTime},
    {"feed_per_minute", Function::kFeedPerMinute},
    {"tilted_plane", Function::kTiltedPlane},
    {"tool_to_plane", Function::kToolToPlane},
    {"tilted_plane_cancel", Function::kTiltedPlaneCancel},
};
constexpr Named kMFunctions[] = {
    {"ignore", Function::kIgnore},
    {"tool_change", Function::kToolChange},
    {"spindle_cw", Function::kSpindleClockwise},
    {"spindle_ccw", Function::kSpindleCounterClockwise},
    {"spindle_stop", Function::kSpindleStop},
    {"stop", Function::kStop},
    {"program_end", Function::kProgramEnd},
    {"subprogram_call", Function::kSubprogramCall},
    {"subprogram_end", Function::kSubprogramEnd},
};

constexpr int kDrillModes[] = {81, 82, 83, 73, 84, 85, 86, 89};

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  out.append(text.substr(0, 64));
  if (text.size() > 64)
    out += "...";
  return out + "\"";
}

// A plain decimal: an optional '-', digits, optionally '.' and digits.
bool ParseDecimal(std::string_view text, double& value) {
  std::size_t at = 0;
  bool negative = false;
  if (at < text.size() && text[at] == '-') {
    negative = true;
    ++at;
  }
  double whole = 0;
  std::size_t digits = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits)
    whole = whole * 10 + (text[at] - '0');
  double fraction = 0;
  if (at < text.size() && text[at] == '.') {
    double scale = 1;
    ++at;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
      scale /= 10;
      fraction += (text[at] - '0') * scale;
    }
  }
  if (digits == 0 || digits > 30 || at != text.size())
    return false;
  value = negative ? -(whole + fraction) : whole + fraction;
  return std::isfinite(value);
}

bool ParseInteger(std::string_view text, int minimum, int maximum, int& value) {
  if (text.empty() || text.size() > 9)
    return false;
  int result = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    result = result * 10 + (c - '0');
  }
  if (result < minimum || result > maximum)
    return false;
  value = result;
  return true;
}

// A G code number as "54" or "54.1", as its key (number times ten).
bool ParseCodeKey(std::string_view text, int& key) {
  const std::size_t point = text.find('.');
  int whole = 0;
  int tenth = 0;
  if (point == std::string_view::npos) {
    if (!ParseInteger(text, 0, 999, whole))
      return false;
  } else if (!ParseInteger(text.substr(0, point), 0, 999, whole) || text.size() != point + 2 ||
             !ParseInteger(text.substr(point + 1), 0, 9, tenth)) {
    return false;
  }
  key = whole * 10 + tenth;
  return true;
}

// "1", "0.1", ..., "0.000000001" as the count of decimals.
bool ParseIncrement(std::string_view text, int& digits) {
  if (text == "1") {
    digits = 0;
    return true;
  }
  if (text.size() < 3 || text.size() > 11 || text.substr(0, 2) != "0." || text.back() != '1')
    return false;
  for (std::size_t i = 2; i + 1 < text.size(); ++i) {
    if (text[i] != '0')
      return false;
  }
  digits = static_cast<int>(text.size()) - 2;
  return true;
}

bool ParseLetters(std::string_view text, std::uint32_t& mask) {
  std::uint32_t result = 0;
  for (char c : text) {
    if (c < 'A' || c > 'Z' || (result >> (c - 'A') & 1) != 0)
      return false;
    result |= 1u << (c - 'A');
  }
  mask = result;
  return true;
}

// A single capital letter, or "" for none where `none_allowed`.
bool ParseLetter(std::string_view text, bool none_allowed, char& letter) {
  if (text.empty() && none_allowed) {
    letter = '\0';
    return true;
  }
  if (text.size() != 1 || text[0] < 'A' || text[0] > 'Z')
    return false;
  letter = text[0];
  return true;
}

bool ParseYesNo(std::string_view text, bool& value) {
  if (text == "yes" || text == "no") {
    value = text == "yes";
    return true;
  }
  return false;
}

bool ParseTimeUnit(std::string_view text, bool revolutions_allowed, TimeUnit& unit) {
  if (text == "s")
    unit = TimeUnit::kSeconds;
  else if (text == "ms")
    unit = TimeUnit::kMilliseconds;
  else if (text == "rev" && revolutions_allowed)
    unit = TimeUnit::kRevolutions;
  else
    return false;
  return true;
}

bool IsKeyword(std::string_view text) {
  if (text.empty() || text.size() > 32 || !(text[0] >= 'A' && text[0] <= 'Z'))
    return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  }
  return true;
}

}  // namespace

NcSystemBuilder::NcSystemBuilder() {
  system_.words = Letters("GMNXYZIJKRFSTDHPQLO");
  system_.scaled_words = Letters("XYZIJKRQ");
  system_.dwell_words = {{'X', TimeUnit::kSeconds}, {'P', TimeUnit::kMilliseconds}};
}

bool NcSystemBuilder::Fail(std::uint64_t line, std::string reason) {
  if (error_.empty()) {
    error_line_ = line;
    error_ = std::move(reason);
  }
  return false;
}

bool NcSystemBuilder::StartElement(std::string_view name, std::span<const XmlAttribute> attributes,
                                   std::uint64_t line) {
  if (!error_.empty())
    return false;
  if (open_.size() >= 3)
    return Fail(line, "<" + std::string(name) + "> is nested too deeply");
  if (open_.empty()) {
    if (root_seen_)
      return Fail(line, "a second root element");
    root_seen_ = true;
    if (name != "ncsystem")
      return Fail(line, "the root element must be <ncsystem>, not <" + std::string(name) + ">");
  }
  const std::string_view parent = open_.empty() ? std::string_view() : open_.back();
  if (!Element(parent, name, attributes, line))
    return false;
  open_.emplace_back(name);
  return true;
}

bool NcSystemBuilder::Text(std::string_view text, std::uint64_t line) {
  if (!error_.empty())
    return false;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  if (!text.empty())
    return Fail(line, "text " + Quoted(text) + " where only elements belong");
  return true;
}

bool NcSystemBuilder::EndElement(std::string_view name, std::uint64_t line) {
  if (!error_.empty())
    return false;
  if (open_.empty() || open_.back() != name)
    return Fail(line, "unexpected end of <" + std::string(name) + ">");
  open_.pop_back();
  if (open_.empty())
    root_closed_ = true;
  return true;
}

bool NcSystemBuilder::Finish() {
  if (!error_.empty())
    return false;
  if (!root_closed_)
    return Fail(0, "the description has no complete <ncsystem> element");
  system_.work_offset = -1;
  if (!FinishRotary())
    return false;
  if (start_offset_key_ >= 0) {
    for (std::size_t i = 0; i < system_.work_offsets.size(); ++i) {
      if (system_.work_offsets[i].g_key == start_offset_key_)
        system_.work_offset = static_cast<int>(i);
    }
    if (system_.work_offset < 0)
      return Fail(start_offset_line_, "<start>: work_offset names no offset of <work_offsets>");
  }
  return true;
}

// The rotary axes against the rest of the description: each a word of
// <syntax>, none an address with another meaning, the keywords read.
bool NcSystemBuilder::FinishRotary() {
  const NcSystem& s = system_;
  const auto fail = [&](const std::string& reason) {
    return Fail(rotary_line_, "<rotary>: " + reason);
  };
  if ((s.rotary_words & ~s.words) != 0)
    return fail("a rotary axis that <syntax> words does not hold");
  std::vector<char> others = {
      s.radius_offset_address, s.length_offset_address, s.radius_address, s.cycle_repeat_address,
      s.call_number_address,   s.call_repeat_address,   s.program_address};
  for (const DwellWord& word : s.dwell_words)
    others.push_back(word.address);
  for (const char other : others) {
    if (s.Rotary(other))
      return fail(std::string("rotary axis ") + other + " is an address of another meaning");
  }
  const bool keywords_needed = s.tool_vectors || !s.tcp_on_keyword.empty() || s.swivel_cycle;
  if (keywords_needed && !s.keywords)
    return fail("vectors and keywords need <syntax keywords=\"yes\">");
  if (s.tcp_on_keyword.empty() != s.tcp_off_keyword.empty() ||
      (!s.tcp_on_keyword.empty() && s.tcp_on_keyword == s.tcp_off_keyword))
    return fail("tcp_on and tcp_off are two keywords, given together");
  for (const std::string& ignored : s.ignored_keywords) {
    if (ignored == s.tcp_on_keyword || ignored == s.tcp_off_keyword ||
        (s.swivel_cycle && ignored == "CYCLE800"))
      return fail("keyword " + ignored + " is also in <ignore>");
  }
  return true;
}

bool NcSystemBuilder::Element(std::string_view parent, std::string_view name,
                              std::span<const XmlAttribute> attributes, std::uint64_t line) {
  NcSystem& s = system_;
  const std::string element = "<" + std::string(name) + ">";
  // Each attribute once.
  for (std::size_t i = 0; i < attributes.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (attributes[i].name == attributes[j].name)
        return Fail(line, element + ": attribute " + std::string(attributes[i].name) + " twice");
    }
  }
  std::string_view attribute;
  std::string_view value;
  const auto bad = [&](std::string_view expected) {
    return Fail(line, element + ": " + std::string(attribute) + "=" + Quoted(value) + " is not " +
                          std::string(expected));
  };
  const auto unknown = [&] {
    return Fail(line, element + " has no attribute " + std::string(attribute));
  };
  const auto required = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view wanted : names) {
      bool found = false;
      for (const XmlAttribute& a : attributes)
        found = found || a.name == wanted;
      if (!found)
        return Fail(line, element + " needs the attribute " + std::string(wanted));
    }
    return true;
  };

  if (parent.empty()) {  // <ncsystem>
    if (!required({"name", "format"}))
      return false;
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "name") {
        if (a.value.empty() || a.value.size() > 64)
          return bad("a name of 1 to 64 characters");
        s.name = a.value;
      } else if (a.name == "format") {
        if (a.value != "1")
          return bad("a format this reader knows (1)");
      } else {
        return unknown();
      }
    }
    return true;
  }

  if (parent == "ncsystem") {
    std::size_t index = 0;
    while (index < std::size(kSections) && kSections[index] != name)
      ++index;
    if (index == std::size(kSections))
      return Fail(line, element + " is not a part of <ncsystem>");
    if ((seen_ >> index & 1) != 0)
      return Fail(line, element + " is given twice");
    seen_ |= 1u << index;
    if (name == "dwell")
      s.dwell_words.clear();
  } else if (parent == "dwell" || parent == "work_offsets" || parent == "gcodes" ||
             parent == "mcodes" || parent == "ignore") {
    static constexpr std::pair<std::string_view, std::string_view> kChildren[] = {
        {"dwell", "word"},
        {"work_offsets", "offset"},
        {"gcodes", "code"},
        {"mcodes", "code"},
        {"ignore", "keyword"}};
    for (const auto& [p, child] : kChildren) {
      if (p == parent && child != name)
        return Fail(line, element + " is not a part of <" + std::string(parent) + ">");
    }
  } else {
    return Fail(line, element + " is not a part of <" + std::string(parent) + ">");
  }

  if (name == "syntax") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "words") {
        if (!ParseLetters(a.value, s.words))
          return bad("a set of capital letters");
      } else if (a.name == "keywords") {
        if (!ParseYesNo(a.value, s.keywords))
          return bad("yes or no");
      } else if (a.name == "block_delete") {
        if (a.value != "skip" && a.value != "run")
          return bad("skip or run");
        s.skip_deleted_blocks = a.value == "skip";
      } else if (a.name == "parentheses") {
        if (a.value != "comment" && a.value != "none")
          return bad("comment or none");
        s.parenthesis_comments = a.value == "comment";
      } else if (a.name == "semicolon") {
        if (a.value != "comment" && a.value != "none")
          return bad("comment or none");
        s.semicolon_comments = a.value == "comment";
      } else {
        return unknown();
      }
    }
  } else if (name == "numbers") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "without_point") {
        if (a.value != "increment" && a.value != "whole")
          return bad("increment or whole");
        s.calculator = a.value == "whole";
      } else if (a.name == "metric_increment") {
        if (!ParseIncrement(a.value, s.metric_increment_digits))
          return bad("a power of ten from 1 to 0.000000001");
      } else if (a.name == "inch_increment") {
        if (!ParseIncrement(a.value, s.inch_increment_digits))
          return bad("a power of ten from 1 to 0.000000001");
      } else if (a.name == "words") {
        if (!ParseLetters(a.value, s.scaled_words))
          return bad("a set of capital letters");
      } else {
        return unknown();
      }
    }
  } else if (name == "start") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "units") {
        if (a.value != "mm" && a.value != "inch")
          return bad("mm or inch");
        s.units = a.value == "mm" ? Units::kMillimetres : Units::kInches;
      } else if (a.name == "plane") {
        if (a.value == "xy")
          s.plane = Plane::kXY;
        else if (a.value == "zx")
          s.plane = Plane::kZX;
        else if (a.value == "yz")
          s.plane = Plane::kYZ;
        else
          return bad("xy, zx or yz");
      } else if (a.name == "distance") {
        if (a.value != "absolute" && a.value != "incremental")
          return bad("absolute or incremental");
        s.incremental = a.value == "incremental";
      } else if (a.name == "motion") {
        if (a.value != "rapid" && a.value != "linear")
          return bad("rapid or linear");
        s.start_linear = a.value == "linear";
      } else if (a.name == "return") {
        if (a.value != "initial" && a.value != "r")
          return bad("initial or r");
        s.return_to_r = a.value == "r";
      } else if (a.name == "work_offset") {
        start_offset_line_ = line;
        if (a.value == "none") {
          start_offset_key_ = -1;
        } else if (!ParseCodeKey(a.value, start_offset_key_)) {
          return bad("none or the G code of a work offset");
        }
      } else {
        return unknown();
      }
    }
  } else if (name == "programs") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      bool ok = true;
      if (a.name == "number")
        ok = ParseLetter(a.value, true, s.program_address);
      else if (a.name == "percent_number")
        ok = ParseYesNo(a.value, s.percent_numbers);
      else if (a.name == "file_headers")
        ok = ParseYesNo(a.value, s.file_headers);
      else if (a.name == "proc")
        ok = ParseYesNo(a.value, s.proc_headers);
      else if (a.name == "percent_marks")
        ok = ParseYesNo(a.value, s.percent_marks);
      else
        return unknown();
      if (!ok)
        return bad(a.name == "number" ? "a capital letter or empty" : "yes or no");
    }
  } else if (name == "arcs") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "centre") {
        if (a.value != "incremental" && a.value != "absolute")
          return bad("incremental or absolute");
        s.centre_absolute = a.value == "absolute";
      } else if (a.name == "radius") {
        if (!ParseLetter(a.value, true, s.radius_address))
          return bad("a capital letter or empty");
      } else if (a.name == "radius_keyword") {
        if (!ParseYesNo(a.value, s.radius_keyword))
          return bad("yes or no");
      } else if (a.name == "intermediate_point") {
        if (!ParseYesNo(a.value, s.intermediate_point))
          return bad("yes or no");
      } else if (a.name == "tangential") {
        if (!ParseYesNo(a.value, s.tangential))
          return bad("yes or no");
      } else if (a.name == "tolerance") {
        if (!ParseDecimal(a.value, s.arc_tolerance) || s.arc_tolerance <= 0 || s.arc_tolerance > 10)
          return bad("a length above 0 and at most 10 mm");
      } else {
        return unknown();
      }
    }
  } else if (name == "word") {  // in <dwell>
    if (!required({"address", "unit"}))
      return false;
    DwellWord word;
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "address") {
        if (!ParseLetter(a.value, false, word.address))
          return bad("a capital letter");
      } else if (a.name == "unit") {
        if (!ParseTimeUnit(a.value, true, word.unit))
          return bad("s, ms or rev");
      } else {
        return unknown();
      }
    }
    for (const DwellWord& other : s.dwell_words) {
      if (other.address == word.address)
        return Fail(line, element + ": address " + word.address + " given twice");
    }
    if (s.dwell_words.size() >= 4)
      return Fail(line, element + ": at most four dwell words");
    s.dwell_words.push_back(word);
  } else if (name == "tools") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "change") {
        if (a.value != "M6" && a.value != "T")
          return bad("M6 or T");
        s.change_on_m6 = a.value == "M6";
      } else if (a.name == "radius_offset") {
        if (!ParseLetter(a.value, false, s.radius_offset_address))
          return bad("a capital letter");
      } else if (a.name == "length_offset") {
        if (!ParseLetter(a.value, true, s.length_offset_address))
          return bad("a capital letter or empty");
      } else if (a.name == "name") {
        if (a.value != "comment" && a.value != "string" && a.value != "none")
          return bad("comment, string or none");
        s.name_from_comment = a.value == "comment";
        s.name_from_string = a.value == "string";
      } else {
        return unknown();
      }
    }
  } else if (name == "cycles") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "form") {
        if (a.value == "gcodes")
          s.cycle_form = CycleForm::kGCodes;
        else if (a.value == "calls")
          s.cycle_form = CycleForm::kCalls;
        else if (a.value == "none")
          s.cycle_form = CycleForm::kNone;
        else
          return bad("gcodes, calls or none");
      } else if (a.name == "repeat") {
        if (!ParseLetter(a.value, true, s.cycle_repeat_address))
          return bad("a capital letter or empty");
      } else if (a.name == "dwell_unit") {
        if (!ParseTimeUnit(a.value, false, s.cycle_dwell_unit))
          return bad("s or ms");
      } else {
        return unknown();
      }
    }
  } else if (name == "subprograms") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "call") {
        if (a.value == "M98")
          s.call_form = CallForm::kMCode;
        else if (a.value == "name")
          s.call_form = CallForm::kNamed;
        else if (a.value == "none")
          s.call_form = CallForm::kNone;
        else
          return bad("M98, name or none");
      } else if (a.name == "number") {
        if (!ParseLetter(a.value, false, s.call_number_address))
          return bad("a capital letter");
      } else if (a.name == "repeat") {
        if (!ParseLetter(a.value, true, s.call_repeat_address))
          return bad("a capital letter or empty");
      } else if (a.name == "packed_repeat") {
        if (!ParseYesNo(a.value, s.packed_repeat))
          return bad("yes or no");
      } else if (a.name == "max_depth") {
        if (!ParseInteger(a.value, 1, 16, s.max_depth))
          return bad("a whole number from 1 to 16");
      } else if (a.name == "max_calls") {
        if (!ParseInteger(a.value, 1, 1000000, s.max_calls))
          return bad("a whole number from 1 to 1000000");
      } else {
        return unknown();
      }
    }
  } else if (name == "paths") {
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      bool ok = true;
      if (a.name == "tool_change") {
        ok = ParseYesNo(a.value, s.break_at_tool_change);
      } else if (a.name == "cycles") {
        ok = a.value == "own" || a.value == "shared";
        s.cycles_own_paths = a.value == "own";
      } else if (a.name == "stop") {
        ok = ParseYesNo(a.value, s.break_at_stop);
      } else {
        return unknown();
      }
      if (!ok)
        return bad(a.name == "cycles" ? "own or shared" : "yes or no");
    }
  } else if (name == "offset" || name == "home") {
    WorkOffset offset;
    bool offset_set[3] = {false, false, false};
    bool* set = name == "home" ? s.home_set : offset_set;
    if (name == "offset") {
      if (!required({"g"}))
        return false;
      if (s.work_offsets.size() >= 255)
        return Fail(line, element + ": at most 255 work offsets");
    }
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      double* target = a.name == "x"   ? &offset.x
                       : a.name == "y" ? &offset.y
                       : a.name == "z" ? &offset.z
                                       : nullptr;
      if (target != nullptr) {
        if (!ParseDecimal(a.value, *target) || std::fabs(*target) > 1e6)
          return bad("a length in millimetres (at most 1000000)");
        set[target - &offset.x] = true;
      } else if (a.name == "g" && name == "offset") {
        if (!ParseCodeKey(a.value, offset.g_key))
          return bad("a G code number");
        if (s.g[offset.g_key].function != Function::kUndefined)
          return Fail(line, element + ": G" + std::string(a.value) + " is given twice");
      } else {
        return unknown();
      }
    }
    if (name == "offset") {
      s.g[offset.g_key] = {Function::kWorkOffset, static_cast<std::uint8_t>(s.work_offsets.size())};
      s.work_offsets.push_back(offset);
    } else {
      s.home[0] = offset.x;
      s.home[1] = offset.y;
      s.home[2] = offset.z;
    }
  } else if (name == "code") {
    if (!required({"number", "function"}))
      return false;
    const bool g = parent == "gcodes";
    int key = 0;
    Code code;
    bool has_mode = false;
    std::string_view number_text;
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "number") {
        number_text = a.value;
        int number = 0;
        if (g ? !ParseCodeKey(a.value, key) : !ParseInteger(a.value, 0, kMCodes - 1, number))
          return bad(g ? "a G code number from 0 to 999.9" : "an M code number from 0 to 999");
        if (!g)
          key = number;
      } else if (a.name == "function") {
        bool found = false;
        for (const Named& named :
             g ? std::span<const Named>(kGFunctions) : std::span<const Named>(kMFunctions)) {
          if (named.name == a.value) {
            code.function = named.function;
            found = true;
          }
        }
        if (!found)
          return bad(g ? "a G code function" : "an M code function");
      } else if (a.name == "mode" && g) {
        int mode = 0;
        bool known = ParseInteger(a.value, 0, 99, mode);
        bool listed = false;
        for (int m : kDrillModes)
          listed = listed || m == mode;
        if (!known || !listed)
          return bad("a drill mode (81, 82, 83, 73, 84, 85, 86 or 89)");
        code.argument = static_cast<std::uint8_t>(mode);
        has_mode = true;
      } else {
        return unknown();
      }
    }
    if ((code.function == Function::kCycle) != has_mode)
      return Fail(line, element + ": mode belongs with function=\"cycle\", and only there");
    Code& slot = g ? s.g[key] : s.m[key];
    if (slot.function != Function::kUndefined)
      return Fail(line,
                  element + ": " + (g ? "G" : "M") + std::string(number_text) + " is given twice");
    slot = code;
  } else if (name == "rotary") {
    rotary_line_ = line;
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name == "axes") {
        if (!ParseLetters(a.value, s.rotary_words) || (s.rotary_words & ~Letters("ABC")) != 0)
          return bad("a set of the letters A, B and C");
      } else if (a.name == "vectors") {
        if (!ParseYesNo(a.value, s.tool_vectors))
          return bad("yes or no");
      } else if (a.name == "tcp_on" || a.name == "tcp_off") {
        if (!a.value.empty() && !IsKeyword(a.value))
          return bad("a keyword of capital letters, digits and '_', or empty");
        (a.name == "tcp_on" ? s.tcp_on_keyword : s.tcp_off_keyword) = a.value;
      } else if (a.name == "tilted_plane") {
        if (a.value != "none" && a.value != "CYCLE800")
          return bad("none or CYCLE800");
        s.swivel_cycle = a.value == "CYCLE800";
      } else {
        return unknown();
      }
    }
  } else if (name == "keyword") {
    if (!required({"name"}))
      return false;
    for (const XmlAttribute& a : attributes) {
      attribute = a.name;
      value = a.value;
      if (a.name != "name")
        return unknown();
      if (!IsKeyword(a.value))
        return bad("a keyword of capital letters, digits and '_'");
      if (s.ignored_keywords.size() >= 64)
        return Fail(line, element + ": at most 64 keywords");
      s.ignored_keywords.emplace_back(a.value);
    }
  } else if (!attributes.empty()) {  // dwell, work_offsets, gcodes, mcodes, ignore
    attribute = attributes[0].name;
    return unknown();
  }
  return true;
}

namespace {

NcSystemLoad Load(const std::string& file, const XmlReadResult& read, NcSystemBuilder& builder) {
  NcSystemLoad load;
  std::uint64_t line = 0;
  std::string reason;
  switch (read.status) {
    case XmlReadResult::Status::kDone:
    case XmlReadResult::Status::kStopped:
      if (builder.Finish()) {
        load.ok = true;
        load.system = std::move(builder.system());
        return load;
      }
      line = builder.error_line();
      reason = builder.error();
      break;
    case XmlReadResult::Status::kCannotOpen:
      reason = read.reason;
      break;
    case XmlReadResult::Status::kMalformed:
      line = read.line;
      reason = "not well-formed XML: " + read.reason;
      break;
  }
  load.error = file + (line != 0 ? ":" + std::to_string(line) : std::string()) + ": " + reason;
  return load;
}

}  // namespace

NcSystemLoad LoadNcSystemFile(const std::string& path) {
  NcSystemBuilder builder;
  const XmlReadResult read = ReadXmlFile(path, builder);
  return Load(path, read, builder);
}

NcSystemLoad LoadNcSystemText(std::string_view text) {
  NcSystemBuilder builder;
  const XmlReadResult read = ReadXmlText(text, builder);
  return Load("<text>", read, builder);
}

}  // namespace zu::gcode
