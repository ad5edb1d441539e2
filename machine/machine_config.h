// A machine as the post processor writes code for it: the model of a
// machine configuration file (.mcf, docs/machine-configuration.md). Every
// field has the default a configuration gets when it leaves the key out;
// ReadMachineConfig (machine_reader.h) fills one from the file and refuses
// unknown keys, wrong types and values out of range.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "kinematics/machine_layout.h"

namespace zu::machine {

enum class Units { kMillimetre, kInch };
enum class CommentStyle { kParentheses, kSemicolon };
// How a program starts and ends:
// - kOWord: "%" line, "O1234" (the code file's name where it is a number,
//   else `program_number`), ..., "M30", "%" (FANUC-like);
// - kPercentNumber: "%1234" and "M30" (HNC-like);
// - kMpfName: "%_N_NAME_MPF", ";$PATH=/_N_MPF_DIR", ..., "M30" (SIEMENS);
// - kPlain: no number, optional "%" lines, ends with "M2" (RS274NGC).
enum class ProgramFrame { kOWord, kPercentNumber, kMpfName, kPlain };
enum class ArcCentre { kIncremental, kAbsolute, kRadius };
// How an arc's radius is written when `centre` is kRadius: "R" or "CR=".
enum class RadiusWord { kR, kCrEquals };
enum class CycleForm { kGCodes, kSiemensCycles, kExpanded };
enum class DwellUnit { kSeconds, kMilliseconds };
// How a tool change is written: "T1 M6", "M6 T1" or `T="NAME"` then "M6".
enum class ToolChange { kTM6, kM6T, kTName };

struct Identity {
  std::string name;         // the NC system's name, as the dialogs list it
  std::string description;  // its NC-system description (.xml); empty: NAME.xml beside the .mcf
  Units units = Units::kMillimetre;
};

// Decimals written after the point, per kind of address.
struct Decimals {
  int coordinates = 3;  // X Y Z I J K R and cycle planes
  int feed = 1;         // F
  int speed = 0;        // S
  int dwell = 3;        // the dwell word
};

struct BlockFormat {
  bool numbers = true;  // N words
  int number_start = 10;
  int number_increment = 10;
  int number_max = 99999;    // after it, numbering starts again at `number_start`
  std::string end_of_block;  // written after each block, before CR LF ("" or ";")
  CommentStyle comments = CommentStyle::kParentheses;
  int max_line_length = 0;  // 0: no limit; else a longer block is refused
  ProgramFrame frame = ProgramFrame::kOWord;
  int program_number = 1;     // when the code file's name is not a number
  bool percent_lines = true;  // "%" first and last (kOWord, kPlain)
  // The safe-start block's words, written after the program's head, e.g.
  // "G17 G21 G40 G49 G80 G90 G54" (a unit word is checked against `units`).
  std::string safe_start = "G17 G40 G49 G80 G90";
  std::string work_offset = "G54";
  std::string program_end = "M30";
};

// Which words are written only when their value changes.
struct Modal {
  bool motion = true;       // G0 G1 G2 G3
  bool coordinates = true;  // an axis that does not move is left out
  bool feed = true;         // F
  bool speed = true;        // S
};

struct Arcs {
  ArcCentre centre = ArcCentre::kIncremental;
  RadiusWord radius_word = RadiusWord::kR;
  bool xy = true;                  // G17
  bool zx = true;                  // G18
  bool yz = true;                  // G19
  double max_sweep_degrees = 360;  // per block; 90: quadrant split
  bool helical = true;             // else a helix is written as lines
  double min_radius = 0.001;       // smaller arcs become lines within `Verification::tolerance`
  double max_radius = 0;           // 0: no limit; larger arcs become lines
};

struct Tools {
  ToolChange change = ToolChange::kTM6;
  bool preselect_next = false;  // "T<next>" after a change
  bool length_offset = true;    // "G43 H<n>" on the first move after a change
  std::string length_offset_code = "G43";
  std::string cancel_length_offset = "G49";
  int length_register_offset = 0;  // H = tool number + this
  int radius_register_offset = 0;  // D = tool number + this
  std::string spindle_cw = "M3";
  std::string spindle_ccw = "M4";
  std::string spindle_stop = "M5";
  std::string coolant_on = "M8";  // "" for none
  std::string coolant_off = "M9";
};

struct Cycles {
  CycleForm form = CycleForm::kGCodes;
  std::string retract_initial = "G98";  // return to the initial plane
  std::string retract_r = "G99";        // return to the R plane
  bool return_to_initial = true;
  std::string cancel = "G80";
  char dwell_address = 'P';  // of G4 and of the cycles
  DwellUnit dwell_unit = DwellUnit::kMilliseconds;
};

struct Verification {
  double tolerance = 0.001;  // mm; also the linearisation tolerance
};

// How the program turns the tool in five-axis moves:
// - kNone: the post computes the machine's axes (kinematics/) and writes
//   them; moves are split so that the tip keeps to the straight line;
// - kG43_4: FANUC's tool centre point control, "G43.4 H<n>" ... "G49": the
//   program gives the tip and the rotary axes' angles;
// - kTraori: SIEMENS' "TRAORI" ... "TRAFOOF": the tip and the angles, or
//   the tool axis as vector components "A3= B3= C3=" (`vectors`);
// - kWords: a control whose mode is switched by `tcp_on` and `tcp_off`
//   (angles).
enum class TcpMode { kNone, kG43_4, kTraori, kWords };
// The feed of five-axis moves: the F word as programmed (the control keeps
// it along the tip, under TCP), or inverse time (`inverse_time_on`, F the
// reciprocal of the move's minutes) when the post computes the axes.
enum class FiveAxisFeed { kProgrammed, kInverseTime };
// Paths in a tilted plane (3+2): the machine's own command ("G68.2 X Y Z
// I J K" and "G53.1", cancelled by "G69"; "CYCLE800(...)", cancelled by
// "CYCLE800()") or the points transformed by the post itself, the rotary
// axes positioned first.
enum class TiltedPlane { kPost, kG68_2, kCycle800 };

// The [kinematics] table: present on a five-axis machine only.
struct Kinematics {
  kin::MachineLayout layout;
  TcpMode tcp = TcpMode::kNone;
  bool vectors = false;                            // kTraori: the tool axis as A3= B3= C3=
  std::string tcp_on;                              // kWords
  std::string tcp_off;                             // kWords
  FiveAxisFeed feed = FiveAxisFeed::kInverseTime;  // kProgrammed by default under TCP
  std::string inverse_time_on = "G93";
  std::string inverse_time_off = "G94";
  TiltedPlane tilted_plane = TiltedPlane::kPost;
};

struct MachineConfig {
  Identity identity;
  Decimals decimals;
  BlockFormat block;
  Modal modal;
  Arcs arcs;
  Tools tools;
  Cycles cycles;
  Verification verification;
  std::optional<Kinematics> kinematics;  // none: a three-axis machine
};

}  // namespace zu::machine
