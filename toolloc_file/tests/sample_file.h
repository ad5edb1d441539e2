// A realistic tool-location file, as text and as the model it holds, for the
// reader's, the writer's and the model's tests and for the reader's fuzz
// seeds: six picked objects, of which five made path records (a drilling
// record with drill keys and two holes, one without drill keys and without
// holes, a mill record with a dwell text and blocks of every type, a
// five-axis record, a five-axis record without rows). The text was made
// independently of the writer, with another exact "%.20f" formatter. Texts
// are GBK bytes where they are not ASCII.
#pragma once

#include <string_view>

#include "toolloc_file/file_model.h"

namespace zu::toolloc_testing {

// The file's lines, numbered as a reader counts them.
// clang-format off
inline constexpr std::string_view kSampleText =
    "[filehead]\r\n"  // 1
    "fileversion 1.0\r\n"  // 2
    "pathnumber 6\r\n"  // 3
    "toolnumber 6\r\n"  // 4
    "personinfo ORVO ZU 2006 r3\r\n"  // 5
    "[endsect]\r\n"  // 6
    "[toollist]\r\n"  // 7
    "0,D10 R5,1,2,2,10.00000000000000000000,0.00000000000000000000,5.00000000000000000000,0.00000000000000000000,50.00000000000000000000,0.00000000000000000000,0.00000000000000000000,ORVO ZU\r\n"  // 8
    "1,DR5,3,0,0,5.00000000000000000000,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,30.00000000000000000000,118.00000000000000000000,0.00000000000000000000,ORVO ZU\r\n"  // 9
    "2,BALL6,2,1,1,6.00000000000000000000,3.00000000000000000000,3.00000000000000000000,0.00000000000000000000,40.00000000000000000000,0.00000000000000000000,-1.00000000000000000000,ORVO ZU\r\n"  // 10
    "3,\xc7\xf2\xb5\xb6,2,1,1,6.00000000000000000000,3.00000000000000000000,3.00000000000000000000,0.00000000000000000000,40.00000000000000000000,0.00000000000000000000,0.10000000000000000555,ORVO ZU\r\n"  // 11
    "4,T5,0,0,0,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,ORVO ZU\r\n"  // 12
    "5,T6,-1,7,7,12.50000000000000000000,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,60.00000000000000000000,0.00000000000000000000,0.00000000000000000000,ORVO ZU\r\n"  // 13
    "[endsect]\r\n"  // 14
    "[machine]\r\n"  // 15
    "mcfname C:\\ORVO\\NCSystems\\FANUC 0i.mcf\r\n"  // 16
    "[endsect]\r\n"  // 17
    "[creategfile]\r\n"  // 18
    "filename C:\\Cut\\NC0001.cut\r\n"  // 19
    "[endsect]\r\n"  // 20
    "[jigcoordinate]\r\n"  // 21
    "usejigcoord 1\r\n"  // 22
    "jigcoord 10.00000000000000000000,-20.50000000000000000000,0.00000000000000000000\r\n"  // 23
    "1.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 24
    "0.00000000000000000000,1.00000000000000000000,0.00000000000000000000\r\n"  // 25
    "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 26
    "[endsect]\r\n"  // 27
    "[pathpara]\r\n"  // 28
    "pathname drill, 2 holes\r\n"  // 29
    "toolindex 0\r\n"  // 30
    "homepoint 0.00000000000000000000,0.00000000000000000000,100.00000000000000000000\r\n"  // 31
    "pathcoordinate 0.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 32
    "10.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 33
    "0.00000000000000000000,10.00000000000000000000,0.00000000000000000000\r\n"  // 34
    "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 35
    "stock -50.00000000000000000000,-50.00000000000000000000,-20.00000000000000000000\r\n"  // 36
    "100.00000000000000000000,100.00000000000000000000,20.00000000000000000000\r\n"  // 37
    "pathtype 1\r\n"  // 38
    "speed 1200.00000000000000000000\r\n"  // 39
    "drillmode 81\r\n"  // 40
    "drillfeed 150.00000000000000000000\r\n"  // 41
    "clearance 5.00000000000000000000\r\n"  // 42
    "safedis 2.00000000000000000000\r\n"  // 43
    "holedepth -12.50000000000000000000\r\n"  // 44
    "peckdepth 3.00000000000000000000\r\n"  // 45
    "dwelltime 0.50000000000000000000\r\n"  // 46
    "worksurface 0.00000000000000000000\r\n"  // 47
    "udpara1 G99\r\n"  // 48
    "udpara2 \xd6\xd0\r\n"  // 49
    "udpara3 \r\n"  // 50
    "udpara4 \r\n"  // 51
    "udpara5 \r\n"  // 52
    "udpara6 \r\n"  // 53
    "udpara7 \r\n"  // 54
    "udpara8 \r\n"  // 55
    "udpara9 \r\n"  // 56
    "udpara10 \r\n"  // 57
    "udpara11 \r\n"  // 58
    "udpara12 \r\n"  // 59
    "udpara13 \r\n"  // 60
    "udpara14 \r\n"  // 61
    "udpara15 \r\n"  // 62
    "udpara16 \r\n"  // 63
    "udpara17 \r\n"  // 64
    "udpara18 \r\n"  // 65
    "udpara19 \r\n"  // 66
    "udpara20 last\r\n"  // 67
    "pointnumber 2\r\n"  // 68
    "endpoint 10.00000000000000000000,10.00000000000000000000,0.00000000000000000000\r\n"  // 69
    "endpoint -10.00000000000000000000,10.25000000000000000000,0.00000000000000000000\r\n"  // 70
    "[endsect]\r\n"  // 71
    "[pathpara]\r\n"  // 72
    "pathname spot\r\n"  // 73
    "toolindex 1\r\n"  // 74
    "homepoint 0.00000000000000000000,0.00000000000000000000,100.00000000000000000000\r\n"  // 75
    "pathcoordinate 0.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 76
    "10.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 77
    "0.00000000000000000000,10.00000000000000000000,0.00000000000000000000\r\n"  // 78
    "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 79
    "stock -50.00000000000000000000,-50.00000000000000000000,-20.00000000000000000000\r\n"  // 80
    "100.00000000000000000000,100.00000000000000000000,20.00000000000000000000\r\n"  // 81
    "pointnumber 0\r\n"  // 82
    "[endsect]\r\n"  // 83
    "[pathpara]\r\n"  // 84
    "pathname pocket\r\n"  // 85
    "toolindex 2\r\n"  // 86
    "homepoint 0.00000000000000000000,0.00000000000000000000,100.00000000000000000000\r\n"  // 87
    "pathcoordinate 0.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 88
    "10.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 89
    "0.00000000000000000000,10.00000000000000000000,0.00000000000000000000\r\n"  // 90
    "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 91
    "stock -50.00000000000000000000,-50.00000000000000000000,-20.00000000000000000000\r\n"  // 92
    "100.00000000000000000000,100.00000000000000000000,20.00000000000000000000\r\n"  // 93
    "pathtype 2\r\n"  // 94
    "safe_h 50.00000000000000000000\r\n"  // 95
    "safe_hmode 1\r\n"  // 96
    "app_h 5.00000000000000000000\r\n"  // 97
    "app_hmode 0\r\n"  // 98
    "speed 3000.00000000000000000000\r\n"  // 99
    "feed 800.00000000000000000000  -1.00000000000000000000 -1.00000000000000000000 200.00000000000000000000 400.00000000000000000000 800.00000000000000000000 400.00000000000000000000 400.00000000000000000000 1200.00000000000000000000 -1.00000000000000000000\r\n"  // 100
    "paradwell G04 P500\r\n"  // 101
    "[endsect]\r\n"  // 102
    "[block]\r\n"  // 103
    "blocktype 3\r\n"  // 104
    "feedtype 1\r\n"  // 105
    "[endsect]\r\n"  // 106
    "[block]\r\n"  // 107
    "blocktype 1\r\n"  // 108
    "endpoint 0.00000000000000000000,0.00000000000000000000,5.00000000000000000000\r\n"  // 109
    "[endsect]\r\n"  // 110
    "[block]\r\n"  // 111
    "blocktype 3\r\n"  // 112
    "feedtype 3\r\n"  // 113
    "[endsect]\r\n"  // 114
    "[block]\r\n"  // 115
    "blocktype 4\r\n"  // 116
    "toolcmpflag 1\r\n"  // 117
    "[endsect]\r\n"  // 118
    "[block]\r\n"  // 119
    "blocktype 1\r\n"  // 120
    "endpoint 10.00000000000000000000,0.00000000000000000000,-2.00000000000000000000\r\n"  // 121
    "[endsect]\r\n"  // 122
    "[block]\r\n"  // 123
    "blocktype 2\r\n"  // 124
    "endpoint 20.00000000000000000000,10.00000000000000000000,-2.00000000000000000000\r\n"  // 125
    "center 10.00000000000000000000,10.00000000000000000000,-2.00000000000000000000\r\n"  // 126
    "vector 0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 127
    "[endsect]\r\n"  // 128
    "[block]\r\n"  // 129
    "blocktype 5\r\n"  // 130
    "dwellflag 1\r\n"  // 131
    "[endsect]\r\n"  // 132
    "[block]\r\n"  // 133
    "blocktype 4\r\n"  // 134
    "toolcmpflag 0\r\n"  // 135
    "[endsect]\r\n"  // 136
    "[block]\r\n"  // 137
    "blocktype 3\r\n"  // 138
    "feedtype 9\r\n"  // 139
    "[endsect]\r\n"  // 140
    "[pathpara]\r\n"  // 141
    "pathname blade\r\n"  // 142
    "toolindex 3\r\n"  // 143
    "homepoint 0.00000000000000000000,0.00000000000000000000,100.00000000000000000000\r\n"  // 144
    "pathcoordinate 0.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 145
    "10.00000000000000000000,0.00000000000000000000,0.00000000000000000000\r\n"  // 146
    "0.00000000000000000000,10.00000000000000000000,0.00000000000000000000\r\n"  // 147
    "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 148
    "stock -50.00000000000000000000,-50.00000000000000000000,-20.00000000000000000000\r\n"  // 149
    "100.00000000000000000000,100.00000000000000000000,20.00000000000000000000\r\n"  // 150
    "pathtype 5\r\n"  // 151
    "safe_h 100.00000000000000000000\r\n"  // 152
    "safe_hmode 0\r\n"  // 153
    "app_h 10.00000000000000000000\r\n"  // 154
    "app_hmode 0\r\n"  // 155
    "speed 8000.00000000000000000000\r\n"  // 156
    "feed 1000.00000000000000000000  -1.00000000000000000000 -1.00000000000000000000 -1.00000000000000000000 500.00000000000000000000 1000.00000000000000000000 500.00000000000000000000 500.00000000000000000000 1500.00000000000000000000 -1.00000000000000000000\r\n"  // 157
    "[endsect]\r\n"  // 158
    "[block]\r\n"  // 159
    "blocktype 3\r\n"  // 160
    "feedtype 1\r\n"  // 161
    "[endsect]\r\n"  // 162
    "[block]\r\n"  // 163
    "blocktype 1\r\n"  // 164
    "endpoint 1.00000000000000000000,2.00000000000000000000,3.00000000000000000000\r\n"  // 165
    "endpointvector 0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\r\n"  // 166
    "[endsect]\r\n"  // 167
    "[block]\r\n"  // 168
    "blocktype 3\r\n"  // 169
    "feedtype 5\r\n"  // 170
    "[endsect]\r\n"  // 171
    "[block]\r\n"  // 172
    "blocktype 1\r\n"  // 173
    "endpoint 0.10000000000000000555,-0.25000000000000000000,3.00000000000000000000\r\n"  // 174
    "endpointvector 0.59999999999999997780,0.00000000000000000000,0.80000000000000004441\r\n"  // 175
    "[endsect]\r\n"  // 176
    "[pathpara]\r\n"  // 177
    "pathname empty five\r\n"  // 178
    "toolindex 4\r\n"  // 179
    "[endsect]\r\n"  // 180
    "[filetail]\r\n";  // 181
// clang-format on

inline Frame AxesOf(Vec3 origin, double length_xy) {
  return {origin, {length_xy, 0, 0}, {0, length_xy, 0}, {0, 0, 1}};
}

inline PathPlacement SamplePlacement() {
  return {{0, 0, 100}, AxesOf({0, 0, 0}, 10), {-50, -50, -20}, {100, 100, 20}};
}

inline Block LineTo(Vec3 end) {
  Block b;
  b.type = BlockType::Line;
  b.end = end;
  return b;
}

inline Block LineTo(Vec3 end, Vec3 axis) {
  Block b = LineTo(end);
  b.end_vector = axis;
  return b;
}

inline Block ArcTo(Vec3 end, Vec3 centre, Vec3 normal) {
  Block b;
  b.type = BlockType::Arc;
  b.end = end;
  b.centre = centre;
  b.normal = normal;
  return b;
}

inline Block CodeBlock(BlockType type, int code) {
  Block b;
  b.type = type;
  b.code = code;
  return b;
}

// What kSampleText holds.
inline ToolLocationFile SampleFile() {
  ToolLocationFile file;
  file.head = {6, 6};
  file.tools = {
      {0, "D10 R5", 1, 2, 10, 0, 5, 50, 0, 0}, {1, "DR5", 3, 0, 5, 0, 0, 30, 118, 0},
      {2, "BALL6", 2, 1, 6, 3, 3, 40, 0, -1},  {3, "\xc7\xf2\xb5\xb6", 2, 1, 6, 3, 3, 40, 0, 0.1},
      {4, "T5", 0, 0, 0, 0, 0, 0, 0, 0},       {5, "T6", -1, 7, 12.5, 0, 0, 60, 0, 0},
  };
  file.mcf_path = "C:\\ORVO\\NCSystems\\FANUC 0i.mcf";
  file.code_file = "C:\\Cut\\NC0001.cut";
  file.jig = {1, AxesOf({10, -20.5, 0}, 1)};

  ToolLocationPath drill;
  drill.start = {"drill, 2 holes", 0};
  drill.placement = SamplePlacement();
  DrillKeys keys;
  keys.speed = 1200;
  keys.drill_mode = 81;
  keys.drill_feed = 150;
  keys.clearance = 5;
  keys.safe_distance = 2;
  keys.hole_depth = -12.5;
  keys.peck_depth = 3;
  keys.dwell_time = 0.5;
  keys.work_surface = 0;
  keys.user[0] = "G99";
  keys.user[1] = "\xd6\xd0";
  keys.user[19] = "last";
  drill.drill_keys = keys;
  drill.holes = {{{10, 10, 0}, {-10, 10.25, 0}}};
  file.paths.push_back(drill);

  ToolLocationPath spot;
  spot.start = {"spot", 1};
  spot.placement = SamplePlacement();
  spot.holes.emplace();
  file.paths.push_back(spot);

  ToolLocationPath pocket;
  pocket.start = {"pocket", 2};
  pocket.placement = SamplePlacement();
  pocket.mill_keys = MillKeys{kPathTypeMill, 50, 1, 5, 0, 3000, {800, 400, 1200, 200}, "G04 P500"};
  pocket.blocks = {
      CodeBlock(BlockType::FeedType, 1),
      LineTo({0, 0, 5}),
      CodeBlock(BlockType::FeedType, 3),
      CodeBlock(BlockType::Compensation, 1),
      LineTo({10, 0, -2}),
      ArcTo({20, 10, -2}, {10, 10, -2}, {0, 0, 1}),
      CodeBlock(BlockType::Dwell, 1),
      CodeBlock(BlockType::Compensation, 0),
      CodeBlock(BlockType::FeedType, 9),
  };
  file.paths.push_back(pocket);

  ToolLocationPath blade;
  blade.start = {"blade", 3};
  blade.placement = SamplePlacement();
  blade.mill_keys = MillKeys{kPathTypeFiveAxis, 100, 0, 10, 0, 8000, {1000, 500, 1500, -1}, {}};
  blade.blocks = {
      CodeBlock(BlockType::FeedType, 1),
      LineTo({1, 2, 3}, {0, 0, 1}),
      CodeBlock(BlockType::FeedType, 5),
      LineTo({0.1, -0.25, 3}, {0.6, 0, 0.8}),
  };
  file.paths.push_back(blade);

  ToolLocationPath empty;
  empty.start = {"empty five", 4};
  file.paths.push_back(empty);
  return file;
}

}  // namespace zu::toolloc_testing
