#include "gcode/nc_system.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gcode/tests/systems.h"

namespace zu::gcode::testing {
namespace {

TEST(NcSystems, TheSamplesLoad) {
  for (Sample sample : {Sample::kFanuc, Sample::kHnc, Sample::kSiemens, Sample::kLinuxCnc}) {
    const NcSystemLoad load = LoadNcSystemFile(SamplePath(sample));
    EXPECT_TRUE(load.ok) << load.error;
  }
  const NcSystem& fanuc = System(Sample::kFanuc);
  const NcSystem& hnc = System(Sample::kHnc);
  const NcSystem& siemens = System(Sample::kSiemens);
  EXPECT_EQ(fanuc.name, "FANUC-0i");
  EXPECT_EQ(hnc.name, "HNC-818");
  EXPECT_EQ(siemens.name, "SIEMENS-840D");
  // Where they differ.
  EXPECT_FALSE(fanuc.calculator);
  EXPECT_TRUE(hnc.calculator);
  EXPECT_TRUE(siemens.calculator);
  EXPECT_EQ(fanuc.dwell_words[1].unit, TimeUnit::kMilliseconds);
  EXPECT_EQ(hnc.dwell_words[0].unit, TimeUnit::kSeconds);
  EXPECT_EQ(siemens.dwell_words[1].unit, TimeUnit::kRevolutions);
  EXPECT_EQ(fanuc.cycle_repeat_address, 'K');
  EXPECT_EQ(hnc.cycle_repeat_address, 'L');
  EXPECT_EQ(siemens.cycle_form, CycleForm::kCalls);
  EXPECT_EQ(fanuc.call_form, CallForm::kMCode);
  EXPECT_EQ(siemens.call_form, CallForm::kNamed);
  EXPECT_TRUE(hnc.percent_numbers);
  EXPECT_TRUE(siemens.file_headers && siemens.proc_headers && siemens.keywords);
  EXPECT_EQ(fanuc.work_offset, 0);
  EXPECT_EQ(siemens.work_offset, -1);
  EXPECT_EQ(fanuc.work_offsets.size(), 6u);
  EXPECT_EQ(siemens.work_offsets.size(), 4u);
  EXPECT_EQ(fanuc.g[810].function, Function::kCycle);
  EXPECT_EQ(fanuc.g[810].argument, 81);
  EXPECT_EQ(fanuc.g[200].function, Function::kInches);
  EXPECT_EQ(siemens.g[200].function, Function::kUndefined);
  EXPECT_EQ(siemens.g[700].function, Function::kInches);
  EXPECT_EQ(siemens.g[6420].function, Function::kIgnore);
  EXPECT_EQ(siemens.m[17].function, Function::kSubprogramEnd);
  EXPECT_EQ(fanuc.m[99].function, Function::kSubprogramEnd);
  EXPECT_DOUBLE_EQ(fanuc.arc_tolerance, 0.01);
  const NcSystem& linuxcnc = System(Sample::kLinuxCnc);
  EXPECT_EQ(linuxcnc.name, "LinuxCNC");
  EXPECT_FALSE(linuxcnc.Accepts('O'));  // O words begin subroutines, not programs
  EXPECT_EQ(linuxcnc.dwell_words[0].unit, TimeUnit::kSeconds);
  EXPECT_EQ(linuxcnc.g[640].function, Function::kPathTolerance);
  EXPECT_EQ(linuxcnc.m[2].function, Function::kProgramEnd);
}

TEST(NcSystems, AnEmptyDescriptionTakesTheDefaults) {
  const NcSystemLoad load = LoadNcSystemText("<ncsystem name=\"X\" format=\"1\"/>");
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_EQ(load.system.name, "X");
  EXPECT_TRUE(load.system.Accepts('X'));
  EXPECT_FALSE(load.system.Accepts('A'));
  EXPECT_EQ(load.system.metric_increment_digits, 3);
  EXPECT_EQ(load.system.g[10].function, Function::kUndefined);  // no code unless listed
  EXPECT_EQ(load.system.max_depth, 8);
}

struct Bad {
  const char* body;   // inside <ncsystem name="X" format="1">, from line 2
  const char* error;  // after "<text>:"
};
const Bad kBad[] = {
    {"<colour/>", "2: <colour> is not a part of <ncsystem>"},
    {"<arcs/>\n<arcs/>", "3: <arcs> is given twice"},
    {"<arcs radius=\"R\" colour=\"red\"/>", "2: <arcs> has no attribute colour"},
    {"<arcs tolerance=\"0\"/>",
     "2: <arcs>: tolerance=\"0\" is not a length above 0 and at most 10 mm"},
    {"<arcs tolerance=\"1e-3\"/>",
     "2: <arcs>: tolerance=\"1e-3\" is not a length above 0 and at most 10 mm"},
    {"<paths cycles=\"mine\"/>", "2: <paths>: cycles=\"mine\" is not own or shared"},
    {"<arcs centre=\"relative\"/>",
     "2: <arcs>: centre=\"relative\" is not incremental or absolute"},
    {"<tools radius_offset=\"\"/>", "2: <tools>: radius_offset=\"\" is not a capital letter"},
    {"<paths stop=\"often\"/>", "2: <paths>: stop=\"often\" is not yes or no"},
    {"<arcs tolerance=\"10.5\"/>",
     "2: <arcs>: tolerance=\"10.5\" is not a length above 0 and at most 10 mm"},
    {"<arcs radius=\"RR\"/>", "2: <arcs>: radius=\"RR\" is not a capital letter or empty"},
    {"<numbers metric_increment=\"0.002\"/>",
     "2: <numbers>: metric_increment=\"0.002\" is not a power of ten from 1 to 0.000000001"},
    {"<numbers without_point=\"maybe\"/>",
     "2: <numbers>: without_point=\"maybe\" is not increment or whole"},
    {"<syntax words=\"XYx\"/>", "2: <syntax>: words=\"XYx\" is not a set of capital letters"},
    {"<syntax words=\"XYX\"/>", "2: <syntax>: words=\"XYX\" is not a set of capital letters"},
    {"<start units=\"cm\"/>", "2: <start>: units=\"cm\" is not mm or inch"},
    {"<start work_offset=\"54\"/>", "2: <start>: work_offset names no offset of <work_offsets>"},
    {"<gcodes>\n<code number=\"1\" function=\"fly\"/>\n</gcodes>",
     "3: <code>: function=\"fly\" is not a G code function"},
    {"<gcodes>\n<code number=\"6\" function=\"tool_change\"/>\n</gcodes>",
     "3: <code>: function=\"tool_change\" is not a G code function"},
    {"<mcodes>\n<code number=\"0\" function=\"rapid\"/>\n</mcodes>",
     "3: <code>: function=\"rapid\" is not an M code function"},
    {"<gcodes><code number=\"81\" function=\"cycle\"/></gcodes>",
     "2: <code>: mode belongs with function=\"cycle\", and only there"},
    {"<gcodes><code number=\"1\" function=\"linear\" mode=\"81\"/></gcodes>",
     "2: <code>: mode belongs with function=\"cycle\", and only there"},
    {"<gcodes><code number=\"81\" function=\"cycle\" mode=\"80\"/></gcodes>",
     "2: <code>: mode=\"80\" is not a drill mode (81, 82, 83, 73, 84, 85, 86 or 89)"},
    {"<gcodes>\n<code number=\"1\" function=\"linear\"/>\n<code number=\"1.0\" function=\"rapid\"/>"
     "\n</gcodes>",
     "4: <code>: G1.0 is given twice"},
    {"<gcodes><code number=\"1000\" function=\"linear\"/></gcodes>",
     "2: <code>: number=\"1000\" is not a G code number from 0 to 999.9"},
    {"<gcodes><code number=\"1.25\" function=\"linear\"/></gcodes>",
     "2: <code>: number=\"1.25\" is not a G code number from 0 to 999.9"},
    {"<mcodes><code number=\"1.5\" function=\"stop\"/></mcodes>",
     "2: <code>: number=\"1.5\" is not an M code number from 0 to 999"},
    {"<gcodes><code function=\"linear\"/></gcodes>", "2: <code> needs the attribute number"},
    {"<work_offsets><offset g=\"54\" x=\"abc\"/></work_offsets>",
     "2: <offset>: x=\"abc\" is not a length in millimetres (at most 1000000)"},
    {"<work_offsets><offset g=\"54\" w=\"1\"/></work_offsets>", "2: <offset> has no attribute w"},
    {"<work_offsets><offset g=\"54\"/><offset g=\"54\"/></work_offsets>",
     "2: <offset>: G54 is given twice"},
    {"<dwell><word address=\"X\" unit=\"min\"/></dwell>",
     "2: <word>: unit=\"min\" is not s, ms or rev"},
    {"<dwell><word address=\"X\" unit=\"s\"/><word address=\"X\" unit=\"ms\"/></dwell>",
     "2: <word>: address X given twice"},
    {"<dwell><word address=\"X\" unit=\"s\"/><word address=\"P\" unit=\"ms\"/>"
     "<word address=\"U\" unit=\"s\"/><word address=\"F\" unit=\"s\"/>"
     "<word address=\"S\" unit=\"rev\"/></dwell>",
     "2: <word>: at most four dwell words"},
    {"<cycles dwell_unit=\"rev\"/>", "2: <cycles>: dwell_unit=\"rev\" is not s or ms"},
    {"<subprograms max_depth=\"17\"/>",
     "2: <subprograms>: max_depth=\"17\" is not a whole number from 1 to 16"},
    {"<subprograms max_calls=\"-1\"/>",
     "2: <subprograms>: max_calls=\"-1\" is not a whole number from 1 to 1000000"},
    {"<ignore><keyword name=\"msg\"/></ignore>",
     "2: <keyword>: name=\"msg\" is not a keyword of capital letters, digits and '_'"},
    {"<gcodes><code number=\"1\" function=\"linear\"><x/></code></gcodes>",
     "2: <x> is nested too deeply"},
    {"<dwell><code number=\"1\" function=\"linear\"/></dwell>",
     "2: <code> is not a part of <dwell>"},
    {"<arcs/>hello<dwell/>", "2: text \"hello\" where only elements belong"},
};

TEST(NcSystems, BadDescriptionsAreRefusedWithLineAndReason) {
  for (const Bad& bad : kBad) {
    const std::string text =
        std::string("<ncsystem name=\"X\" format=\"1\">\n") + bad.body + "\n</ncsystem>\n";
    const NcSystemLoad load = LoadNcSystemText(text);
    EXPECT_FALSE(load.ok) << text;
    EXPECT_EQ(load.error, std::string("<text>:") + bad.error) << text;
  }
}

TEST(NcSystems, ValuesAreReadWithTheirSignAndEveryDigit) {
  const NcSystemLoad load =
      LoadNcSystemText(std::string("<ncsystem name=\"X\" format=\"1\">\n<work_offsets>\n") +
                       "<offset g=\"54\" x=\"-12.5\" y=\"0.05\" z=\"-0.125\"/>\n"
                       "<offset g=\"59\" x=\"1000000\" y=\"-1000000\" z=\"-0\"/>\n</work_offsets>\n"
                       "<dwell><word address=\"X\" unit=\"s\"/><word address=\"P\" unit=\"ms\"/>"
                       "<word address=\"U\" unit=\"s\"/><word address=\"F\" unit=\"s\"/></dwell>\n"
                       "<gcodes><code number=\"999.9\" function=\"linear\"/></gcodes>\n"
                       "<arcs tolerance=\"10\" centre=\"absolute\"/>\n"
                       "<ignore><keyword name=\"FFW9_0\"/><keyword name=\"" +
                       std::string(32, 'K') + "\"/></ignore>\n</ncsystem>\n");
  ASSERT_TRUE(load.ok) << load.error;
  const auto& offsets = load.system.work_offsets;
  ASSERT_EQ(offsets.size(), 2u);
  EXPECT_EQ(offsets[0].g_key, 540);
  EXPECT_EQ(offsets[0].x, -12.5);
  EXPECT_EQ(offsets[0].y, 0.05);
  EXPECT_EQ(offsets[0].z, -0.125);
  EXPECT_EQ(offsets[1].g_key, 590);
  EXPECT_EQ(offsets[1].x, 1000000);
  EXPECT_EQ(offsets[1].y, -1000000);
  EXPECT_EQ(load.system.dwell_words.size(), 4u);
  EXPECT_EQ(load.system.arc_tolerance, 10);
  EXPECT_TRUE(load.system.centre_absolute);
  EXPECT_EQ(load.system.ignored_keywords,
            (std::vector<std::string>{"FFW9_0", std::string(32, 'K')}));
  EXPECT_EQ(load.system.g[9999].function, Function::kLinear);
}

TEST(NcSystems, KeywordsAreLimitedInLengthAndNumber) {
  const auto load = [](const std::string& keywords) {
    return LoadNcSystemText("<ncsystem name=\"X\" format=\"1\">\n<ignore>" + keywords +
                            "</ignore>\n</ncsystem>\n");
  };
  const auto keyword = [](const std::string& name) { return "<keyword name=\"" + name + "\"/>"; };
  EXPECT_EQ(load(keyword(std::string(33, 'K'))).error,
            "<text>:2: <keyword>: name=\"" + std::string(33, 'K') +
                "\" is not a keyword of capital letters, digits and '_'");
  std::string many;
  for (int i = 0; i < 64; ++i)
    many += keyword("K" + std::to_string(i));
  EXPECT_TRUE(load(many).ok);
  EXPECT_EQ(load(many + keyword("K64")).error, "<text>:2: <keyword>: at most 64 keywords");
}

struct BadRoot {
  const char* text;
  const char* error;
};
const BadRoot kBadRoots[] = {
    {"<system/>", "<text>:1: the root element must be <ncsystem>, not <system>"},
    {"<ncsystem format=\"1\"/>", "<text>:1: <ncsystem> needs the attribute name"},
    {"<ncsystem name=\"X\" format=\"2\"/>",
     "<text>:1: <ncsystem>: format=\"2\" is not a format this reader knows (1)"},
    {"<ncsystem name=\"\" format=\"1\"/>",
     "<text>:1: <ncsystem>: name=\"\" is not a name of 1 to 64 characters"},
    {"<ncsystem name=\"X\" format=\"1\" colour=\"red\"/>",
     "<text>:1: <ncsystem> has no attribute colour"},
};

TEST(NcSystems, BadRootsAreRefused) {
  for (const BadRoot& bad : kBadRoots) {
    const NcSystemLoad load = LoadNcSystemText(bad.text);
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.error, bad.error);
  }
}

TEST(NcSystems, MalformedXmlIsRefusedWithTheParsersLine) {
  const NcSystemLoad unclosed =
      LoadNcSystemText("<ncsystem name=\"X\" format=\"1\">\n<arcs>\n</ncsystem>\n");
  EXPECT_FALSE(unclosed.ok);
  EXPECT_EQ(unclosed.error.rfind("<text>:3: not well-formed XML", 0), 0u) << unclosed.error;
  const NcSystemLoad entities = LoadNcSystemText(
      "<!DOCTYPE ncsystem [<!ENTITY big \"bigbigbig\">]>\n<ncsystem name=\"&big;\" format=\"1\"/>");
  EXPECT_FALSE(entities.ok);
  EXPECT_NE(entities.error.find("not well-formed XML"), std::string::npos) << entities.error;
  const NcSystemLoad empty = LoadNcSystemText("");
  EXPECT_FALSE(empty.ok);
  // Inputs some parsers stop the process on, or never get past.
  for (const char* text : {"<?x", "<?xml version=\"1.0\"?>", "<?xml version=\"1.0\"?>\n",
                           "\xEF\xBB\xBF<?xml", "<ncsystem name=\"X\" format=\"1\">\n  </"}) {
    const NcSystemLoad load = LoadNcSystemText(text);
    EXPECT_FALSE(load.ok) << text;
    EXPECT_EQ(load.error.rfind("<text>:", 0), 0u) << load.error;
  }
  // Some parsers never get past an unclosed comment; the source must.
  const NcSystemLoad comment = LoadNcSystemText("<ncsystem name=\"X\" format=\"1\">\n  <!-- S");
  EXPECT_FALSE(comment.ok);
  EXPECT_EQ(comment.error.rfind("<text>:", 0), 0u) << comment.error;
}

TEST(NcSystems, AMissingFileIsNamed) {
  const std::string path = std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/NONE.xml";
  const NcSystemLoad load = LoadNcSystemFile(path);
  EXPECT_FALSE(load.ok);
  EXPECT_EQ(load.error.rfind(path + ": cannot open the file", 0), 0u) << load.error;
}

// <rotary> against the rest of the description.
const Bad kBadRotary[] = {
    {"<syntax words=\"ADXYZ\"/><rotary axes=\"AD\"/>",
     "2: <rotary>: axes=\"AD\" is not a set of the letters A, B and C"},
    {"<rotary axes=\"A\"/>", "2: <rotary>: a rotary axis that <syntax> words does not hold"},
    {"<syntax words=\"BXYZ\"/><dwell><word address=\"B\" unit=\"s\"/></dwell>\n"
     "<rotary axes=\"B\"/>",
     "3: <rotary>: rotary axis B is an address of another meaning"},
    {"<syntax words=\"ACXYZ\"/><tools radius_offset=\"C\"/><rotary axes=\"AC\"/>",
     "2: <rotary>: rotary axis C is an address of another meaning"},
    {"<rotary vectors=\"yes\"/>",
     "2: <rotary>: vectors and keywords need <syntax keywords=\"yes\">"},
    {"<syntax keywords=\"yes\"/><rotary tcp_on=\"TRAORI\"/>",
     "2: <rotary>: tcp_on and tcp_off are two keywords, given together"},
    {"<syntax keywords=\"yes\"/><rotary tcp_on=\"T1\" tcp_off=\"T1\"/>",
     "2: <rotary>: tcp_on and tcp_off are two keywords, given together"},
    {"<syntax keywords=\"yes\"/><rotary tcp_on=\"ON\" tcp_off=\"OFF\"/>\n"
     "<ignore><keyword name=\"OFF\"/></ignore>",
     "2: <rotary>: keyword OFF is also in <ignore>"},
    {"<rotary tcp_on=\"tra\"/>",
     "2: <rotary>: tcp_on=\"tra\" is not a keyword of capital letters, digits and '_', or empty"},
    {"<rotary axes=\"A\" home=\"0\"/>", "2: <rotary> has no attribute home"},
    {"<rotary tilted_plane=\"CYCLE800\"/>",
     "2: <rotary>: vectors and keywords need <syntax keywords=\"yes\">"},
    {"<syntax keywords=\"yes\"/><rotary tilted_plane=\"CYCLE800\"/>\n"
     "<ignore><keyword name=\"CYCLE800\"/></ignore>",
     "2: <rotary>: keyword CYCLE800 is also in <ignore>"},
    {"<rotary tilted_plane=\"G68.2\"/>",
     "2: <rotary>: tilted_plane=\"G68.2\" is not none or CYCLE800"},
};

TEST(NcSystems, RotaryAxesAreCheckedAgainstTheOtherAddresses) {
  for (const Bad& bad : kBadRotary) {
    const std::string text =
        std::string("<ncsystem name=\"X\" format=\"1\">\n") + bad.body + "\n</ncsystem>\n";
    const NcSystemLoad load = LoadNcSystemText(text);
    EXPECT_FALSE(load.ok) << text;
    EXPECT_EQ(load.error, std::string("<text>:") + bad.error) << text;
  }
}

TEST(NcSystems, RotaryAxesAndTheirCodes) {
  const NcSystem& fanuc = System(Sample::kFanuc);
  const NcSystem& five = System(Sample::kFanucAc);
  const NcSystem& siemens = System(Sample::kSiemens);
  const NcSystem& linuxcnc = System(Sample::kLinuxCnc);
  EXPECT_EQ(fanuc.rotary_words, 0u);
  EXPECT_EQ(System(Sample::kHnc).rotary_words, 0u);
  EXPECT_EQ(fanuc.g[434].function, Function::kUndefined);
  EXPECT_TRUE(five.Rotary('A') && !five.Rotary('B') && five.Rotary('C') && five.Scaled('A'));
  EXPECT_EQ(five.g[434].function, Function::kToolCentrePoint);
  EXPECT_EQ(five.g[930].function, Function::kInverseTime);
  EXPECT_EQ(five.g[940].function, Function::kFeedPerMinute);
  EXPECT_EQ(five.g[682].function, Function::kTiltedPlane);
  EXPECT_EQ(five.g[531].function, Function::kToolToPlane);
  EXPECT_EQ(five.g[690].function, Function::kTiltedPlaneCancel);
  EXPECT_EQ(fanuc.g[682].function, Function::kUndefined);
  EXPECT_TRUE(System(Sample::kSiemensBc).swivel_cycle && !siemens.swivel_cycle);
  EXPECT_TRUE(siemens.Rotary('A') && siemens.Rotary('B') && siemens.Rotary('C'));
  EXPECT_TRUE(siemens.tool_vectors);
  EXPECT_EQ(siemens.tcp_on_keyword, "TRAORI");
  EXPECT_EQ(siemens.tcp_off_keyword, "TRAFOOF");
  EXPECT_TRUE(linuxcnc.Rotary('C') && !linuxcnc.tool_vectors && linuxcnc.tcp_on_keyword.empty());
  EXPECT_EQ(linuxcnc.g[930].function, Function::kInverseTime);
}

// Every prefix of the sample descriptions is refused cleanly unless it
// holds the whole <ncsystem> element.
TEST(NcSystems, EveryTruncationIsRefusedOrWhole) {
  for (Sample sample : {Sample::kFanuc, Sample::kHnc, Sample::kSiemens, Sample::kFanucAc}) {
    std::ifstream file(SamplePath(sample), std::ios::binary);
    std::stringstream stream;
    stream << file.rdbuf();
    const std::string text = stream.str();
    const std::size_t whole = text.find("</ncsystem>") + std::string("</ncsystem>").size();
    for (std::size_t length = 0; length < text.size(); ++length) {
      const NcSystemLoad load = LoadNcSystemText(std::string_view(text).substr(0, length));
      EXPECT_EQ(load.ok, length >= whole)
          << SamplePath(sample) << " cut at " << length << ": " << load.error;
      if (!load.ok) {
        EXPECT_EQ(load.error.rfind("<text>:", 0), 0u) << load.error;
      }
    }
  }
}

}  // namespace
}  // namespace zu::gcode::testing
