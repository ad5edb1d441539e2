#include "machine/machine_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace zu::machine {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string Shipped(const std::string& name) {
  return std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/" + name + ".mcf";
}

MachineConfig Load(const std::string& name) {
  MachineReadResult read = ReadMachineConfig(Shipped(name));
  EXPECT_EQ(read.error, "") << name;
  return read.config.value_or(MachineConfig{});
}

TEST(MachineReaderTest, ShippedMachinesGiveTheirControlsFormats) {
  const MachineConfig fanuc = Load("FANUC-0i");
  EXPECT_EQ(fanuc.identity.name, "FANUC-0i");
  EXPECT_EQ(fanuc.identity.description, "FANUC-0i.xml");
  EXPECT_EQ(fanuc.block.frame, ProgramFrame::kOWord);
  EXPECT_EQ(fanuc.block.safe_start, "G17 G21 G40 G49 G80 G90");
  EXPECT_EQ(fanuc.cycles.dwell_unit, DwellUnit::kMilliseconds);
  EXPECT_EQ(fanuc.decimals.dwell, 0);  // whole milliseconds: P has no decimal point
  EXPECT_EQ(fanuc.cycles.dwell_address, 'P');
  EXPECT_EQ(fanuc.tools.change, ToolChange::kTM6);

  const MachineConfig hnc = Load("HNC-818");
  EXPECT_EQ(hnc.identity.name, "HNC-818");
  EXPECT_EQ(hnc.block.frame, ProgramFrame::kPercentNumber);
  EXPECT_EQ(hnc.block.comments, CommentStyle::kSemicolon);
  EXPECT_EQ(hnc.cycles.dwell_unit, DwellUnit::kSeconds);

  const MachineConfig siemens = Load("SIEMENS-840D");
  EXPECT_EQ(siemens.identity.name, "SIEMENS-840D");
  EXPECT_EQ(siemens.block.frame, ProgramFrame::kMpfName);
  EXPECT_EQ(siemens.block.number_max, 99999999);
  EXPECT_EQ(siemens.arcs.radius_word, RadiusWord::kCrEquals);
  EXPECT_EQ(siemens.tools.change, ToolChange::kTName);
  EXPECT_FALSE(siemens.tools.length_offset);
  EXPECT_EQ(siemens.cycles.form, CycleForm::kSiemensCycles);
  EXPECT_EQ(siemens.cycles.dwell_address, 'F');
  EXPECT_EQ(siemens.cycles.cancel, "MCALL");

  const MachineConfig linuxcnc = Load("LinuxCNC");
  EXPECT_EQ(linuxcnc.identity.name, "LinuxCNC");
  EXPECT_EQ(linuxcnc.block.frame, ProgramFrame::kPlain);
  EXPECT_FALSE(linuxcnc.block.numbers);
  EXPECT_EQ(linuxcnc.block.program_end, "M2");
  EXPECT_EQ(linuxcnc.block.max_line_length, 255);
  EXPECT_THAT(linuxcnc.block.safe_start, HasSubstr("G64 P0.01"));
  EXPECT_EQ(linuxcnc.decimals.coordinates, 4);
  EXPECT_EQ(linuxcnc.cycles.dwell_unit, DwellUnit::kSeconds);

  // The five-axis machines: their control's format, and their kinematics.
  const MachineConfig fanuc5 = Load("FANUC-0i-AC-table");
  EXPECT_EQ(fanuc5.identity.description, "FANUC-0i-AC-table.xml");
  EXPECT_EQ(fanuc5.block.frame, ProgramFrame::kOWord);
  ASSERT_TRUE(fanuc5.kinematics.has_value());
  EXPECT_EQ(fanuc5.kinematics->layout.layout, kin::Layout::kTableTable);
  EXPECT_EQ(fanuc5.kinematics->tcp, TcpMode::kG43_4);
  EXPECT_EQ(fanuc5.kinematics->feed, FiveAxisFeed::kProgrammed);
  EXPECT_EQ(fanuc5.kinematics->tilted_plane, TiltedPlane::kG68_2);
  EXPECT_EQ(fanuc5.kinematics->layout.primary.letter, 'C');
  EXPECT_TRUE(fanuc5.kinematics->layout.primary.continuous);
  EXPECT_EQ(fanuc5.kinematics->layout.secondary.letter, 'A');
  EXPECT_EQ(fanuc5.kinematics->layout.secondary.pivot, (kin::Vec3{0, 0, -100}));
  EXPECT_EQ(fanuc5.kinematics->layout.secondary.preferred_sign, 1);

  const MachineConfig siemens5 = Load("SIEMENS-840D-BC-head-table");
  EXPECT_EQ(siemens5.block.frame, ProgramFrame::kMpfName);
  ASSERT_TRUE(siemens5.kinematics.has_value());
  EXPECT_EQ(siemens5.kinematics->layout.layout, kin::Layout::kHeadTable);
  EXPECT_EQ(siemens5.kinematics->layout.pivot_length, 250);
  EXPECT_EQ(siemens5.kinematics->tcp, TcpMode::kTraori);
  EXPECT_TRUE(siemens5.kinematics->vectors);
  EXPECT_EQ(siemens5.kinematics->tilted_plane, TiltedPlane::kCycle800);
  EXPECT_EQ(siemens5.kinematics->layout.secondary.letter, 'B');

  const MachineConfig linuxcnc5 = Load("LinuxCNC-xyzac-trt");
  EXPECT_EQ(linuxcnc5.block.program_end, "M2");
  ASSERT_TRUE(linuxcnc5.kinematics.has_value());
  EXPECT_EQ(linuxcnc5.kinematics->tcp, TcpMode::kNone);
  EXPECT_EQ(linuxcnc5.kinematics->feed, FiveAxisFeed::kInverseTime);
  EXPECT_EQ(linuxcnc5.kinematics->inverse_time_on, "G93");
  EXPECT_EQ(linuxcnc5.kinematics->inverse_time_off, "G94");
  EXPECT_EQ(linuxcnc5.kinematics->tilted_plane, TiltedPlane::kPost);
  EXPECT_EQ(linuxcnc5.kinematics->layout.linearise_tolerance, 0.0005);
  EXPECT_EQ(linuxcnc5.kinematics->layout.secondary.pivot, (kin::Vec3{0, 0, -80}));

  // Three-axis machines: no [kinematics].
  for (const MachineConfig* three : {&fanuc, &hnc, &siemens, &linuxcnc})
    EXPECT_FALSE(three->kinematics.has_value()) << three->identity.name;
}

// A name alone: every other field keeps the model's default.
TEST(MachineReaderTest, KeysLeftOutKeepTheirDefaults) {
  const MachineReadResult read = ParseMachineConfig("[identity]\nname = \"M\"\n", "M.mcf");
  ASSERT_EQ(read.error, "");
  MachineConfig expected;
  expected.identity.name = "M";
  const MachineConfig& got = *read.config;
  EXPECT_EQ(got.decimals.coordinates, expected.decimals.coordinates);
  EXPECT_EQ(got.block.number_max, expected.block.number_max);
  EXPECT_EQ(got.block.safe_start, expected.block.safe_start);
  EXPECT_EQ(got.arcs.max_sweep_degrees, expected.arcs.max_sweep_degrees);
  EXPECT_EQ(got.arcs.min_radius, expected.arcs.min_radius);
  EXPECT_EQ(got.tools.coolant_on, expected.tools.coolant_on);
  EXPECT_EQ(got.cycles.dwell_address, expected.cycles.dwell_address);
  EXPECT_EQ(got.verification.tolerance, expected.verification.tolerance);
  EXPECT_FALSE(got.kinematics.has_value());
}

struct Case {
  const char* text;   // after "[identity]\nname = \"M\"\n" (lines 1 and 2)
  const char* error;  // "" when the text is taken
};

constexpr Case kCases[] = {
    // Each kind of refusal, with its whole message.
    {"[arcs]\nmax_sweep_degrees = 400\n",
     "M.mcf line 4: [arcs] max_sweep_degrees: 400 is out of range 1..360"},
    {"[arc]\nxy = true\n", "M.mcf line 3: unknown table [arc]"},
    {"[arcs]\nsweep = 90\n", "M.mcf line 4: [arcs] sweep: unknown key"},
    {"[decimals]\nfeed = \"2\"\n",
     "M.mcf line 4: [decimals] feed: expected an integer, got a string"},
    {"[decimals]\nfeed = 2.0\n",
     "M.mcf line 4: [decimals] feed: expected an integer, got a number"},
    {"[modal]\nfeed = 1\n", "M.mcf line 4: [modal] feed: expected true or false, got an integer"},
    {"[tools]\nspindle_cw = 3\n",
     "M.mcf line 4: [tools] spindle_cw: expected a string, got an integer"},
    {"[identity.more]\n", "M.mcf line 3: [identity] more: unknown key"},
    {"[block]\nframe = \"O-word\"\n",
     "M.mcf line 4: [block] frame: \"O-word\" is not one of \"o-word\", \"percent-number\", "
     "\"mpf-name\", \"plain\""},
    {"[tools]\nspindle_cw = \"\"\n", "M.mcf line 4: [tools] spindle_cw: must not be empty"},
    {"[tools]\nspindle_cw = \"M3 (on)\"\n",
     "M.mcf line 4: [tools] spindle_cw: \"M3 (on)\" holds ' ', which is not allowed here"},
    {"[block]\nsafe_start = \"G17\\nG90\"\n",
     "M.mcf line 4: [block] safe_start: \"G17\\x0AG90\" holds '\\x0A', which is not allowed here"},
    {"[block]\nend_of_block = \"$\"\n",
     "M.mcf line 4: [block] end_of_block: \"$\" is not one of \"\", \";\""},
    {"[cycles]\ndwell_address = \"PX\"\n",
     "M.mcf line 4: [cycles] dwell_address: \"PX\" is not one of \"F\", \"P\", \"U\", \"X\""},
    {"[\"a\\u0001\"]\n", "M.mcf line 3: unknown table [a\\x01]"},
    // Characters beyond ASCII: in comments only.
    {"# \xE6\x9C\xBA\xE5\xBA\x8A \xC3\xA9\n[arcs] # \xC7\xAA\nxy = true\n", ""},
    {"G4\xC7\xAA"
     "arcs]\n",
     "M.mcf line 3: a byte above 0x7F outside a comment (only comments may hold characters "
     "other than ASCII)"},
    {"[tools]\nspindle_cw = \"M3 \xC3\xA9\"\n",
     "M.mcf line 4: a byte above 0x7F outside a comment (only comments may hold characters "
     "other than ASCII)"},
    {"[tools]\nspindle_cw = \"\"\"\n# \xC3\xA9\"\"\"\n",
     "M.mcf line 5: a byte above 0x7F outside a comment (only comments may hold characters "
     "other than ASCII)"},
    {"[tools]\nspindle_cw = \'M3 # \'\n# \xC3\xA9\n",
     "M.mcf line 4: [tools] spindle_cw: "
     "\"M3 # \" holds ' ', which is not allowed here"},
    {"[tools]\nspindle_cw = \"\"\"M3\"\"\"\"\"  # \xC3\xA9\n",
     "M.mcf line 4: [tools] "
     "spindle_cw: \"M3\"\"\" holds '\"', which is not allowed here"},
    // What no single value shows.
    {"[block]\nnumber_start = 100\nnumber_max = 50\n",
     "M.mcf line 4: [block] number_start: 100 is above number_max 50"},
    {"[block]\nnumber_start = 10\n", ""},
    {"[arcs]\nmin_radius = 1\nmax_radius = 1\n",
     "M.mcf line 5: [arcs] max_radius: 1 is not above min_radius 1"},
    {"[arcs]\nmin_radius = 1\nmax_radius = 1.5\n", ""},
    {"[block]\nsafe_start = \"G17 G20 G90\"\n",
     "M.mcf line 4: [block] safe_start: G20 selects inches but [identity] units is \"mm\""},
    {"[block]\nsafe_start = \"G17 G200 G90\"\n", ""},
    {"[block]\nsafe_start = \"G17 G21 G90\"\n", ""},
    // Boundaries: the last value kept, the first refused.
    {"[decimals]\ncoordinates = 6\n", ""},
    {"[decimals]\ncoordinates = 7\n",
     "M.mcf line 4: [decimals] coordinates: 7 is out of range 0..6"},
    {"[decimals]\ndwell = -1\n", "M.mcf line 4: [decimals] dwell: -1 is out of range 0..6"},
    {"[block]\nnumber_increment = 0\n",
     "M.mcf line 4: [block] number_increment: 0 is out of range 1..99999999"},
    {"[block]\nnumber_max = 99999999\n", ""},
    {"[block]\nnumber_max = 100000000\n",
     "M.mcf line 4: [block] number_max: 100000000 is out of range 1..99999999"},
    {"[block]\nmax_line_length = 0\n", ""},
    {"[block]\nmax_line_length = 19\n",
     "M.mcf line 4: [block] max_line_length: 19 is out of range 0 (no limit) or 20..1024"},
    {"[block]\nmax_line_length = 20\n", ""},
    {"[block]\nmax_line_length = 1024\n", ""},
    {"[block]\nmax_line_length = 1025\n",
     "M.mcf line 4: [block] max_line_length: 1025 is out of range 0 (no limit) or 20..1024"},
    {"[arcs]\nmax_sweep_degrees = 360\n", ""},
    {"[arcs]\nmax_sweep_degrees = 360.5\n",
     "M.mcf line 4: [arcs] max_sweep_degrees: 360.5 is out of range 1..360"},
    {"[arcs]\nmax_sweep_degrees = 0.5\n",
     "M.mcf line 4: [arcs] max_sweep_degrees: 0.5 is out of range 1..360"},
    {"[arcs]\nmax_sweep_degrees = nan\n",
     "M.mcf line 4: [arcs] max_sweep_degrees: nan is out of range 1..360"},
    {"[verification]\ntolerance = 1\n", ""},
    {"[verification]\ntolerance = 0\n",
     "M.mcf line 4: [verification] tolerance: 0 is out of range above 0, at most 1"},
    {"[verification]\ntolerance = 1.0001\n",
     "M.mcf line 4: [verification] tolerance: 1.0001 is out of range above 0, at most 1"},
    {"[tools]\nlength_register_offset = 999\n", ""},
    {"[tools]\nlength_register_offset = 1000\n",
     "M.mcf line 4: [tools] length_register_offset: 1000 is out of range 0..999"},
    {"[tools]\nspindle_cw = \"M123456789012345\"\n", ""},
    {"[tools]\nspindle_cw = \"M1234567890123456\"\n",
     "M.mcf line 4: [tools] spindle_cw: \"M1234567890123456\" is longer than 16 characters"},
    {"[block]\nprogram_number = 0\n",
     "M.mcf line 4: [block] program_number: 0 is out of range 1..99999999"},
};

TEST(MachineReaderTest, EachValueIsCheckedWithItsLineAndKey) {
  for (const Case& c : kCases) {
    const std::string text = std::string("[identity]\nname = \"M\"\n") + c.text;
    const MachineReadResult read = ParseMachineConfig(text, "M.mcf");
    EXPECT_EQ(read.error, c.error) << text;
    EXPECT_EQ(read.config.has_value(), *c.error == '\0') << text;
  }
}

// The five-axis table: each value, each contradiction, with its line.
constexpr Case kKinematicsCases[] = {
    {"[kinematics]\n", ""},
    {"[kinematics]\nlayout = \"head-head\"\n",
     "M.mcf line 3: [kinematics] pivot_length: a layout with an axis in the head needs a pivot "
     "length above 0"},
    {"[kinematics]\nlayout = \"head-table\"\npivot_length = 0\n",
     "M.mcf line 5: [kinematics] pivot_length: a layout with an axis in the head needs a pivot "
     "length above 0"},
    {"[kinematics]\nlayout = \"head-head\"\npivot_length = 150\n", ""},
    {"[kinematics]\nlayout = \"head\"\n",
     "M.mcf line 4: [kinematics] layout: \"head\" is not one of \"table-table\", \"head-head\", "
     "\"head-table\""},
    {"[kinematics]\npivot_length = -1\n",
     "M.mcf line 4: [kinematics] pivot_length: -1 is out of range 0..10000"},
    {"[kinematics.primary]\ndirection = [0, 0, 0]\n",
     "M.mcf line 4: [kinematics.primary] direction: has no length"},
    {"[kinematics.primary]\ndirection = [0, 0, 0.001]\n", ""},
    {"[kinematics.secondary]\nmin = 10\nmax = 5\n",
     "M.mcf line 4: [kinematics.secondary] min: 10 is above max 5"},
    {"[kinematics.secondary]\nmin = 5\nmax = 5\n", ""},
    {"[kinematics.secondary]\ndirection = [0, 0, 2]\n",
     "M.mcf line 4: [kinematics.secondary] direction: is parallel to the primary's"},
    {"[kinematics.primary]\ndirection = [1, 0, 0]\n[kinematics.secondary]\ndirection = [0, 0, "
     "1]\n",
     "M.mcf line 6: [kinematics.secondary] direction: lies along the tool axis, so it cannot "
     "tilt the tool"},
    {"[kinematics.secondary]\nletter = \"C\"\n",
     "M.mcf line 4: [kinematics.secondary] letter: C is the primary's too"},
    {"[kinematics.primary]\nletter = \"D\"\n",
     "M.mcf line 4: [kinematics.primary] letter: \"D\" is not one of \"A\", \"B\", \"C\""},
    {"[kinematics.primary]\ndirection = [0, 0]\n",
     "M.mcf line 4: [kinematics.primary] direction: expected an array of three numbers, got 2 "
     "values"},
    {"[kinematics.primary]\ndirection = [0, \"a\", 1]\n",
     "M.mcf line 4: [kinematics.primary] direction: expected an array of three numbers, got a "
     "string among them"},
    {"[kinematics.primary]\ndirection = 1\n",
     "M.mcf line 4: [kinematics.primary] direction: expected an array of three numbers, got an "
     "integer"},
    {"[kinematics.primary]\npivot = [100000, -100000, 0.5]\n", ""},
    {"[kinematics.primary]\npivot = [100001, 0, 0]\n",
     "M.mcf line 4: [kinematics.primary] pivot: 100001 is out of range -100000..100000"},
    {"[kinematics.primary]\npivot = [nan, 0, 0]\n",
     "M.mcf line 4: [kinematics.primary] pivot: nan is out of range -100000..100000"},
    {"[kinematics.primary]\nspeed = 1\n", "M.mcf line 4: [kinematics.primary] speed: unknown key"},
    {"[kinematics]\nprimary = 3\n",
     "M.mcf line 4: [kinematics] primary: expected a table, got an integer"},
    {"[kinematics.third]\n", "M.mcf line 3: [kinematics] third: unknown key"},
    {"[kinematics.primary]\ncontinuous = true\nmin = -180\nmax = 179\n",
     "M.mcf line 6: [kinematics.primary] max: a continuous axis's range -180..179 spans less "
     "than 360 degrees"},
    {"[kinematics.primary]\ncontinuous = true\nmin = -99999\nmax = 99999\n", ""},
    {"[kinematics.primary]\nmax = 100000.5\n",
     "M.mcf line 4: [kinematics.primary] max: 100000.5 is out of range -100000..100000"},
    {"[kinematics.primary]\npreferred_sign = \"positive\"\n", ""},
    {"[kinematics.primary]\npreferred_sign = \"+\"\n",
     "M.mcf line 4: [kinematics.primary] preferred_sign: \"+\" is not one of \"none\", "
     "\"positive\", \"negative\""},
    {"[kinematics]\nsingular_degrees = 10\n", ""},
    {"[kinematics]\nsingular_degrees = 10.5\n",
     "M.mcf line 4: [kinematics] singular_degrees: 10.5 is out of range above 0, at most 10"},
    {"[kinematics]\nsingular_degrees = 0\n",
     "M.mcf line 4: [kinematics] singular_degrees: 0 is out of range above 0, at most 10"},
    {"[kinematics]\nlinearise_axis_degrees = 0\n",
     "M.mcf line 4: [kinematics] linearise_axis_degrees: 0 is out of range above 0, at most 10"},
    {"[kinematics]\nlinearise_tolerance = 0.001\n", ""},
    {"[kinematics]\nlinearise_tolerance = 0.0011\n",
     "M.mcf line 4: [kinematics] linearise_tolerance: 0.0011 is above [verification] tolerance "
     "0.001"},
    {"[kinematics]\ntcp = \"G43.5\"\n",
     "M.mcf line 4: [kinematics] tcp: \"G43.5\" is not one of \"none\", \"G43.4\", \"TRAORI\", "
     "\"words\""},
    {"[kinematics]\norientation = \"vectors\"\n",
     "M.mcf line 4: [kinematics] orientation: \"vectors\" needs tcp = \"TRAORI\""},
    {"[kinematics]\ntcp = \"G43.4\"\norientation = \"vectors\"\n",
     "M.mcf line 5: [kinematics] orientation: \"vectors\" needs tcp = \"TRAORI\""},
    {"[kinematics]\ntcp = \"TRAORI\"\norientation = \"vectors\"\n", ""},
    {"[kinematics]\ntcp = \"words\"\n",
     "M.mcf line 4: [kinematics] tcp: \"words\" needs the words of tcp_on"},
    {"[kinematics]\ntcp = \"words\"\ntcp_on = \"G43.4 H1\"\ntcp_off = \"G49\"\n", ""},
    {"[kinematics]\nfeed = \"programmed\"\n",
     "M.mcf line 4: [kinematics] feed: \"programmed\" needs a tcp mode: without one the post "
     "computes the axes and the feed is inverse time"},
    {"[kinematics]\ntcp = \"G43.4\"\nfeed = \"inverse-time\"\n", ""},
    {"[kinematics]\ninverse_time_on = \"\"\n",
     "M.mcf line 4: [kinematics] inverse_time_on: must not be empty"},
    {"[kinematics]\ntilted_plane = \"G68\"\n",
     "M.mcf line 4: [kinematics] tilted_plane: \"G68\" is not one of \"post\", \"G68.2\", "
     "\"CYCLE800\""},
};

TEST(MachineReaderTest, KinematicsValuesAreCheckedWithTheirLineAndKey) {
  for (const Case& c : kKinematicsCases) {
    const std::string text = std::string("[identity]\nname = \"M\"\n") + c.text;
    const MachineReadResult read = ParseMachineConfig(text, "M.mcf");
    EXPECT_EQ(read.error, c.error) << text;
    EXPECT_EQ(read.config.has_value(), *c.error == '\0') << text;
    if (read.config) {
      EXPECT_TRUE(read.config->kinematics.has_value()) << text;
    }
  }
}

// A whole five-axis table read into the model, field by field; and the
// defaults that follow from other keys.
TEST(MachineReaderTest, KinematicsFillTheLayout) {
  const MachineReadResult read = ParseMachineConfig(
      "[identity]\nname = \"M\"\n"
      "[verification]\ntolerance = 0.005\n"
      "[kinematics]\nlayout = \"head-table\"\npivot_length = 250.5\nsingular_degrees = 0.002\n"
      "linearise_axis_degrees = 0.05\ntcp = \"TRAORI\"\norientation = \"vectors\"\n"
      "tilted_plane = \"CYCLE800\"\n"
      "[kinematics.primary]\nletter = \"C\"\ndirection = [0, 0, -1]\npivot = [10, 20.5, -3]\n"
      "continuous = true\nmin = -9999\nmax = 9999\n"
      "[kinematics.secondary]\nletter = \"B\"\ndirection = [0, 1, 0]\nreversed = true\n"
      "min = -30\nmax = 110\npreferred_sign = \"negative\"\n",
      "M.mcf");
  ASSERT_EQ(read.error, "");
  ASSERT_TRUE(read.config->kinematics.has_value());
  const Kinematics& k = *read.config->kinematics;
  EXPECT_EQ(k.layout.layout, kin::Layout::kHeadTable);
  EXPECT_EQ(k.layout.pivot_length, 250.5);
  EXPECT_EQ(k.layout.singular_degrees, 0.002);
  EXPECT_EQ(k.layout.linearise_tolerance, 0.005);  // [verification] tolerance
  EXPECT_EQ(k.layout.linearise_axis_degrees, 0.05);
  EXPECT_EQ(k.tcp, TcpMode::kTraori);
  EXPECT_TRUE(k.vectors);
  EXPECT_EQ(k.feed, FiveAxisFeed::kProgrammed);  // under TCP
  EXPECT_EQ(k.inverse_time_on, "G93");
  EXPECT_EQ(k.tilted_plane, TiltedPlane::kCycle800);
  kin::RotaryAxis primary;
  primary.letter = 'C';
  primary.direction = {0, 0, -1};
  primary.pivot = {10, 20.5, -3};
  primary.continuous = true;
  primary.min = -9999;
  primary.max = 9999;
  EXPECT_EQ(k.layout.primary, primary);
  kin::RotaryAxis secondary;
  secondary.letter = 'B';
  secondary.direction = {0, 1, 0};
  secondary.reversed = true;
  secondary.min = -30;
  secondary.max = 110;
  secondary.preferred_sign = -1;
  EXPECT_EQ(k.layout.secondary, secondary);

  const MachineReadResult plain =
      ParseMachineConfig("[identity]\nname = \"M\"\n[kinematics]\n", "M.mcf");
  ASSERT_TRUE(plain.config && plain.config->kinematics);
  EXPECT_EQ(plain.config->kinematics->feed, FiveAxisFeed::kInverseTime);
  EXPECT_EQ(plain.config->kinematics->tcp, TcpMode::kNone);
  EXPECT_EQ(plain.config->kinematics->layout, kin::MachineLayout{});
}

// Whole files: the identity table itself, keys outside the tables.
constexpr Case kFileCases[] = {
    {"speed = 3\n[identity]\nname = \"M\"\n",
     "M.mcf line 1: speed: unknown key outside the tables"},
    {"arcs = 1\n[identity]\nname = \"M\"\n",
     "M.mcf line 1: [arcs]: expected a table, got an integer"},
    {"[identity]\nname = \"M\"\nunits = \"cm\"\n",
     "M.mcf line 3: [identity] units: \"cm\" is not one of \"mm\", \"inch\""},
    {"[identity]\nname = \"M\"\n[identity]\n",
     "M.mcf line 3: Error while parsing table header: cannot redefine existing table "
     "'identity'"},
    {"", "M.mcf: [identity] name is missing"},
    {"[identity]\nname = \"M\"\ndescription = \"C:\\\\x\\\\M.xml\"\n", ""},
    {"[identity]\nname = \"M\"\ndescription = \"a|b.xml\"\n",
     "M.mcf line 3: [identity] description: \"a|b.xml\" holds '|', which is not allowed here"},
    // Of several refusals, the earliest line's, though the tables come sorted.
    {"[verification]\ntolerance = 2\n[arcs]\nxy = 1\n[identity]\nname = \"\"\n",
     "M.mcf line 2: [verification] tolerance: 2 is out of range above 0, at most 1"},
    {"[identity]\nname = \"M\"\n[tools]\nspindle_cw = 3\ncoolant_on = 3\n",
     "M.mcf line 4: [tools] spindle_cw: expected a string, got an integer"},
    {"[identity]\nname = \"\"\n", "M.mcf line 2: [identity] name: must not be empty"},
    {"[identity]\nname = \"A/B\"\n",
     "M.mcf line 2: [identity] name: \"A/B\" holds '/', which is not allowed here"},
    {"[identity]\nname = \"M\"\nunits = \"inch\"\n[block]\nsafe_start = \"G21\"\n",
     "M.mcf line 5: [block] safe_start: G21 selects millimetres but [identity] units is "
     "\"inch\""},
};

TEST(MachineReaderTest, FilesAreCheckedAsAWhole) {
  for (const Case& c : kFileCases) {
    const MachineReadResult read = ParseMachineConfig(c.text, "M.mcf");
    EXPECT_EQ(read.error, c.error) << c.text;
    EXPECT_EQ(read.config.has_value(), *c.error == '\0') << c.text;
  }
}

TEST(MachineReaderTest, SyntaxErrorsNameTheLine) {
  const MachineReadResult read = ParseMachineConfig("[identity]\nname = \"M\n", "M.mcf");
  EXPECT_FALSE(read.config.has_value());
  EXPECT_THAT(read.error, StartsWith("M.mcf line 2: "));
}

// The examples of the format's description load: the three-axis one and
// the five-axis one.
TEST(MachineReaderTest, TheDocumentedExamplesLoad) {
  std::ifstream in(std::string(ZU_SOURCE_DIR) + "/docs/machine-configuration.md");
  const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::map<std::string, MachineConfig> examples;
  for (std::size_t start = doc.find("```toml\n"); start != std::string::npos;
       start = doc.find("```toml\n", start + 8)) {
    const std::size_t end = doc.find("```", start + 8);
    const MachineReadResult read =
        ParseMachineConfig(doc.substr(start + 8, end - start - 8), "doc");
    ASSERT_EQ(read.error, "");
    examples[read.config->identity.name] = *read.config;
  }
  ASSERT_EQ(examples.size(), 2u);
  const MachineConfig& three = examples["MILL-3"];
  EXPECT_EQ(three.block.max_line_length, 256);
  EXPECT_EQ(three.arcs.max_sweep_degrees, 180);
  EXPECT_EQ(three.tools.coolant_on, "");
  EXPECT_FALSE(three.kinematics.has_value());
  const MachineConfig& five = examples["MILL-5"];
  ASSERT_TRUE(five.kinematics.has_value());
  EXPECT_EQ(five.kinematics->tcp, TcpMode::kG43_4);
  EXPECT_EQ(five.kinematics->feed, FiveAxisFeed::kProgrammed);
  EXPECT_EQ(five.kinematics->layout.secondary.letter, 'A');
  EXPECT_EQ(five.kinematics->layout.secondary.pivot, (kin::Vec3{0, 0, -50}));
  EXPECT_TRUE(five.kinematics->layout.primary.continuous);
}

// Every cut of a valid file reads or is refused with one line of message.
TEST(MachineReaderTest, EveryPrefixOfAShippedFileIsHandled) {
  for (const char* name : {"FANUC-0i", "FANUC-0i-AC-table"}) {
    std::ifstream in(Shipped(name), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(text.size(), 100u);
    for (std::size_t size = 0; size < text.size(); ++size) {
      const MachineReadResult read = ParseMachineConfig(text.substr(0, size), "F.mcf");
      EXPECT_EQ(read.config.has_value(), read.error.empty()) << name << " " << size;
      EXPECT_EQ(read.error.find('\n'), std::string::npos) << name << " " << size;
    }
  }
}

TEST(MachineReaderTest, FilesThatCannotBeReadAreRefused) {
  const std::string missing = testing::TempDir() + "no-such-machine.mcf";
  EXPECT_EQ(ReadMachineConfig(missing).error, missing + ": cannot be read");
  const std::string folder = testing::TempDir();
  EXPECT_EQ(ReadMachineConfig(folder).error, folder + ": cannot be read");

  const std::string large = testing::TempDir() + "large-machine.mcf";
  {
    std::ofstream out(large, std::ios::binary);
    out << "[identity]\nname = \"M\"\n" << std::string(kMaxMachineFileBytes, '#');
  }
  EXPECT_THAT(ReadMachineConfig(large).error, StartsWith(large + ": is larger than 1048576"));
  std::remove(large.c_str());
}

}  // namespace
}  // namespace zu::machine
