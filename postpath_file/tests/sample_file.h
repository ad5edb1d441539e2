// A realistic post-path file, as a model and as the text the writer makes
// of it: a drilling bracket with two holes, a milling bracket with rapid
// and feed moves, compensation, an arc and a dwell, and a five-axis bracket
// of point-and-axis moves with marks. The tests of the writer, the reader
// and the model, and the fuzz seed, start from it.
#pragma once

#include <string_view>

#include "postpath_file/file_model.h"

namespace zu::ppf_testing {

inline ppf::Block LineTo(ppf::Vec3 end, int feed_type, int compensation = 0) {
  ppf::Block block;
  block.end = end;
  block.feed_type = feed_type;
  block.compensation = compensation;
  return block;
}

inline ppf::Block AxisTo(ppf::Vec3 end, ppf::Vec3 axis, int feed_type, int mark = 0) {
  ppf::Block block = LineTo(end, feed_type);
  block.has_vector = true;
  block.vector = axis;
  block.position_mark = mark;
  return block;
}

inline ppf::Block ArcTo(ppf::Vec3 end, ppf::Vec3 centre, ppf::Vec3 normal, int feed_type,
                        int compensation = 0) {
  ppf::Block block = LineTo(end, feed_type, compensation);
  block.kind = ppf::kBlockArc;
  block.centre = centre;
  block.has_vector = true;
  block.vector = normal;
  return block;
}

inline ppf::PathHead SampleHead(int type, const char* name) {
  ppf::PathHead head;
  head.type = type;
  head.record_path_type = type;
  head.name = name;
  head.spindle_speed = 3000;
  head.home = {0, 0, 100};
  head.origin = {0, 0, 0};
  head.x_axis = {10, 0, 0};
  head.y_axis = {0, 10, 0};
  head.z_axis = {0, 0, 1};
  head.stock_min = {-50, -50, -20};
  head.stock_max = {50, 50, 0};
  head.tool = {"D10 R5", "D10 R5", 1, 2, 2, {10, 0, 5, 0, 50, 0, 0}};
  return head;
}

inline ppf::PostPathFile SampleFile() {
  ppf::PostPathFile file;
  file.process = {
      "1.0",       "ORVO ZU",
      "BRACKET-7", "first setup: vice jaws at X-60, 50% feed on the first pass, $2 insert",
      1,           50};

  ppf::PostPath drill;
  drill.head = SampleHead(ppf::kPathDrill, "holes");
  drill.head.spindle_speed = 1200;
  drill.head.tool = {"DR8.5", "DR8.5", 3, 0, 0, {8.5, 0, 0, 0, 60, 118, 0}};
  ppf::DrillRecord drill_record;
  drill_record.drill_mode = 81;
  drill_record.values = {150, 5, 2, -12.5, 0, 0.5, 0};
  drill_record.user[0] = "G99";
  drill_record.user[4] = "\xd6\xd0\xd0\xc4\xbf\xd7";  // GBK: centre hole
  drill.record = drill_record;
  drill.holes = {{10, 10, 0}, {-10, 10, 0}};
  file.paths.push_back(drill);

  ppf::PostPath mill;
  mill.head = SampleHead(ppf::kPathMill, "contour");
  ppf::MillRecord mill_record;
  mill_record.feeds = {-1, -1, 800, 800, 200, 400, 400, 800, 1200, -1};
  mill_record.safe_height = 50;
  mill_record.approach_height = 5;
  mill_record.dwell_text = "G04 P1";
  mill.record = mill_record;
  mill.blocks = {
      LineTo({0, 0, 50}, 1),      LineTo({0, 0, -2}, 4),
      LineTo({40, 0, -2}, 5, 1),  ArcTo({50, 10, -2}, {40, 10, -2}, {0, 0, 1}, 5, 1),
      LineTo({50, 40, -2}, 5, 1), LineTo({50, 40, 50}, 1),
  };
  mill.blocks[4].dwell = ppf::kDwellAfter;
  file.paths.push_back(mill);

  ppf::PostPath five;
  five.head = SampleHead(ppf::kPathFiveAxis, "blade");
  five.head.record_path_type = 5;
  five.head.tool_axis = ppf::Vec3{0, 0, 1};
  five.head.tool = {"BALL6", "BALL6", 2, 1, 1, {6, 3, 3, 0, 40, 0, 0}};
  ppf::MillRecord five_record;
  five_record.feeds = {-1, -1, 600, 300, 600, 600, 600, 600, 600, 1000};
  five_record.safe_height = 40;
  five_record.approach_height = 3;
  five_record.macro_pairs = {{"TILT", "15"}, {"LEAD", "0.5"}};
  five.record = five_record;
  five.blocks = {
      AxisTo({0, 0, 40}, {0, 0, 1}, 1),
      AxisTo({0, 0, 3}, {0, 0.6, 0.8}, 2, ppf::kMarkApproach),
      AxisTo({0, 0, 0}, {0, 0.6, 0.8}, 3),
      AxisTo({20.125, 0, 0}, {0, 0.6, 0.8}, 5),
      AxisTo({20.123456789012344, 1.8000000000000003, 2.4000000000000004},
             {0, 0.6000000000000001, 0.7999999999999999}, 8, ppf::kMarkRetract),
  };
  file.paths.push_back(five);
  return file;
}

// The example of docs/post-path-file.md: a milling bracket and a drilling
// bracket, shorter than the sample.
inline ppf::PostPathFile ExampleFile() {
  using namespace ppf;
  PostPathFile file;
  file.process = {"1.0", "ORVO ZU", "BRACKET-7", "first setup", 0, 0};
  PostPath mill;
  mill.head = SampleHead(kPathMill, "contour");
  MillRecord record;
  record.feeds = {-1, -1, 800, 800, 200, 400, 400, 800, 1200, -1};
  record.safe_height = 50;
  record.approach_height = 5;
  mill.record = record;
  mill.blocks = {LineTo({0, 0, 50}, 1), LineTo({0, 0, -2}, 4), LineTo({40, 0, -2}, 5, 1),
                 ArcTo({50, 10, -2}, {40, 10, -2}, {0, 0, 1}, 5, 1), LineTo({50, 10, 50}, 1)};
  mill.blocks[3].dwell = kDwellAfter;
  file.paths.push_back(mill);
  PostPath drill;
  drill.head = SampleHead(kPathDrill, "holes");
  drill.head.spindle_speed = 1200;
  drill.head.tool = {"DR8.5", "DR8.5", 3, 0, 0, {8.5, 0, 0, 0, 60, 118, 0}};
  DrillRecord drill_record;
  drill_record.drill_mode = 81;
  drill_record.values = {150, 5, 2, -12.5, 0, 0.5, 0};
  drill_record.user[0] = "G99";
  drill.record = drill_record;
  drill.holes = {{10, 10, 0}, {-10, 10, 0}};
  file.paths.push_back(drill);
  return file;
}

// SampleFile() as the file holds it, lines ended by CR LF. The tests name
// its lines by number.
inline constexpr std::string_view kSampleText =
    "PARTNO BRACKET-7\r\n"
    "PPRINT/ZU VERSION=1.0\r\n"
    "PPRINT/ZU INFO=ORVO ZU\r\n"
    "PPRINT/ZU PROCESS=BRACKET-7\r\n"
    "PPRINT/ZU COMMENT=first setup: vice jaws at X-60,\r\n"
    "PPRINT/ZU+ 50%25 feed on the first pass, %242 insert\r\n"
    "PPRINT/ZU JIGRETRACT 1,50\r\n"
    "UNITS/MM\r\n"
    "PPRINT/ZU PATH DRILL,1\r\n"
    "PPRINT/ZU NAME=holes\r\n"
    "PPRINT/ZU HOME 0,0,100\r\n"
    "PPRINT/ZU ORIGIN 0,0,0\r\n"
    "PPRINT/ZU XAXIS 10,0,0\r\n"
    "PPRINT/ZU YAXIS 0,10,0\r\n"
    "PPRINT/ZU ZAXIS 0,0,1\r\n"
    "PPRINT/ZU STOCK -50,-50,-20,50,50,0\r\n"
    "PPRINT/ZU TOOLNAME=DR8.5\r\n"
    "PPRINT/ZU TOOLNAME2=DR8.5\r\n"
    "PPRINT/ZU TOOL 0,0,8.5,0,0,0,60,118,0\r\n"
    "PPRINT/ZU DRILL 81,2,0,0.5,0\r\n"
    "PPRINT/ZU USER1=G99\r\n"
    "PPRINT/ZU USER5=\xd6\xd0\xd0\xc4\xbf\xd7\r\n"
    "LOADTL/3\r\n"
    "CUTTER/8.5,0\r\n"
    "SPINDL/1200,CLW\r\n"
    "CYCLE/DRILL,-12.5,MMPM,150,5\r\n"
    "DELAY/0.5\r\n"
    "GOTO/10,10,0\r\n"
    "GOTO/-10,10,0\r\n"
    "CYCLE/OFF\r\n"
    "PPRINT/ZU PATH MILL,2\r\n"
    "PPRINT/ZU NAME=contour\r\n"
    "PPRINT/ZU HOME 0,0,100\r\n"
    "PPRINT/ZU ORIGIN 0,0,0\r\n"
    "PPRINT/ZU XAXIS 10,0,0\r\n"
    "PPRINT/ZU YAXIS 0,10,0\r\n"
    "PPRINT/ZU ZAXIS 0,0,1\r\n"
    "PPRINT/ZU STOCK -50,-50,-20,50,50,0\r\n"
    "PPRINT/ZU TOOLNAME=D10 R5\r\n"
    "PPRINT/ZU TOOLNAME2=D10 R5\r\n"
    "PPRINT/ZU TOOL 2,2,10,0,5,0,50,0,0\r\n"
    "PPRINT/ZU FEEDS -1,-1,800,800,200,400,400,800,1200,-1\r\n"
    "PPRINT/ZU HEIGHTS 50,5\r\n"
    "PPRINT/ZU DWELLTEXT=G04 P1\r\n"
    "LOADTL/1\r\n"
    "CUTTER/10,5\r\n"
    "SPINDL/3000,CLW\r\n"
    "PPRINT/ZU FEEDTYPE 1\r\n"
    "RAPID\r\n"
    "GOTO/0,0,50\r\n"
    "PPRINT/ZU FEEDTYPE 4\r\n"
    "FEDRAT/200\r\n"
    "GOTO/0,0,-2\r\n"
    "PPRINT/ZU FEEDTYPE 5\r\n"
    "CUTCOM/LEFT\r\n"
    "FEDRAT/400\r\n"
    "GOTO/40,0,-2\r\n"
    "CIRCLE/40,10,-2,0,0,1,10\r\n"
    "GOTO/50,10,-2\r\n"
    "PPRINT/ZU DWELL 1\r\n"
    "GOTO/50,40,-2\r\n"
    "PPRINT/ZU FEEDTYPE 1\r\n"
    "CUTCOM/OFF\r\n"
    "RAPID\r\n"
    "GOTO/50,40,50\r\n"
    "PPRINT/ZU PATH FIVEAXIS,5\r\n"
    "PPRINT/ZU NAME=blade\r\n"
    "PPRINT/ZU HOME 0,0,100\r\n"
    "PPRINT/ZU AXIS 0,0,1\r\n"
    "PPRINT/ZU ORIGIN 0,0,0\r\n"
    "PPRINT/ZU XAXIS 10,0,0\r\n"
    "PPRINT/ZU YAXIS 0,10,0\r\n"
    "PPRINT/ZU ZAXIS 0,0,1\r\n"
    "PPRINT/ZU STOCK -50,-50,-20,50,50,0\r\n"
    "PPRINT/ZU TOOLNAME=BALL6\r\n"
    "PPRINT/ZU TOOLNAME2=BALL6\r\n"
    "PPRINT/ZU TOOL 1,1,6,3,3,0,40,0,0\r\n"
    "PPRINT/ZU FEEDS -1,-1,600,300,600,600,600,600,600,1000\r\n"
    "PPRINT/ZU HEIGHTS 40,3\r\n"
    "PPRINT/ZU MACRO=TILT\r\n"
    "PPRINT/ZU VALUE=15\r\n"
    "PPRINT/ZU MACRO=LEAD\r\n"
    "PPRINT/ZU VALUE=0.5\r\n"
    "LOADTL/2\r\n"
    "CUTTER/6,3\r\n"
    "SPINDL/3000,CLW\r\n"
    "PPRINT/ZU FEEDTYPE 1\r\n"
    "MULTAX/ON\r\n"
    "RAPID\r\n"
    "GOTO/0,0,40,0,0,1\r\n"
    "PPRINT/ZU FEEDTYPE 2\r\n"
    "PPRINT/ZU MARK 2\r\n"
    "FEDRAT/600\r\n"
    "GOTO/0,0,3,0,0.6,0.8\r\n"
    "PPRINT/ZU FEEDTYPE 3\r\n"
    "FEDRAT/300\r\n"
    "GOTO/0,0,0,0,0.6,0.8\r\n"
    "PPRINT/ZU FEEDTYPE 5\r\n"
    "FEDRAT/600\r\n"
    "GOTO/20.125,0,0,0,0.6,0.8\r\n"
    "PPRINT/ZU FEEDTYPE 8\r\n"
    "PPRINT/ZU MARK 1\r\n"
    "GOTO/20.123456789012344,1.8000000000000003,2.4000000000000004,0,$\r\n"
    "0.6000000000000001,0.7999999999999999\r\n"
    "MULTAX/OFF\r\n"
    "END\r\n"
    "FINI\r\n";

}  // namespace zu::ppf_testing
