#include "conditioning/fitted_moves.h"

#include <cmath>

#include "host/math.h"
#include "host/row_ops.h"

namespace zu {

namespace {

constexpr double kFullTurn = 6.283185307179586;
constexpr double kPi = 3.14159265358979323846;
constexpr double kSame = 1e-7;
constexpr double kAxisPoint = 10.0;  // how far the arc's axis points lie from its centre
constexpr int kCuttingSegment = 4;

bool Agree(const XYZ& a, const XYZ& b) {
  return std::fabs(a.x - b.x) < kSame && std::fabs(a.y - b.y) < kSame &&
         std::fabs(a.z - b.z) < kSame;
}

// The counter-clockwise angle about `normal` from start to end.
double SweepAbout(const XYZ& start, const XYZ& end, const XYZ& centre, const VECTOR& normal) {
  double inner = 0;
  MathArcAngle(centre, start, end, inner);
  if (Agree(start, end) && std::fabs(inner) < kSame)
    return kFullTurn;
  VECTOR chord;
  VECTOR to_centre;
  MathSub(end, start, chord);
  MathSub(centre, start, to_centre);
  VECTOR turn;
  CrossProduct(chord, to_centre, turn);
  double between = 0;
  MathVectorAngle(normal, turn, between);
  // The chord turns towards the centre clockwise about the normal: the arc
  // goes the long way round.
  return std::fabs(between - kPi) < kSame ? kFullTurn - inner : inner;
}

}  // namespace

void MarkAsFittedMove(tool_block& move, int c_preset) {
  int a = 0;
  int b = 0;
  int c = c_preset;
  SegKindToAttrs(kCuttingSegment, a, b, c);
  move.a = static_cast<std::int8_t>(a);
  move.b = static_cast<std::int8_t>(b);
  move.c = c;
  move.host_byte_a1 = move.kind == kMoveArc ? 245 : 5;
  move.host_byte_a2 = 1;
  move.host_byte_b = 5;
  move.host_int1 = 0;
  move.next = nullptr;
}

tool_block* MakeLineRow(const XYZ& start, const XYZ& end) {
  tool_block* move = NcNewRow();
  tls* line = NcNewLineGeom(1);
  line[0].point = start;
  line[0].set = 1;
  line[1].point = end;
  line[1].set = 1;
  move->geometry = line;
  move->kind = kMoveLine;
  MarkAsFittedMove(*move);
  return move;
}

tool_block* MakeArcRow(const XYZ& start, const XYZ& end, const XYZ& centre, const VECTOR& normal) {
  const double sweep = SweepAbout(start, end, centre, normal);

  // A frame at the start with its X axis towards the centre and its XY plane
  // the arc's; the axis points are made in it and mapped back.
  VECTOR outward;
  if (!UnitDirection(centre, start, outward))
    return nullptr;
  VECTOR side;
  CrossProduct(outward, normal, side);
  const XYZ plane_point{centre.x + kAxisPoint * side.x, centre.y + kAxisPoint * side.y,
                        centre.z + kAxisPoint * side.z};
  TRANSF frame;
  if (!ArcFrameMatrix(start, centre, plane_point, frame))
    return nullptr;
  XYZ o;
  PointTransform(centre, frame, o);
  const double l = std::sqrt(o.x * o.x + o.y * o.y);
  if (l < 0.00001)
    return nullptr;
  TRANSF back;
  if (!MatInverse(frame, back))
    return nullptr;
  const XYZ q1{o.x - kAxisPoint * o.x / l, o.y - kAxisPoint * o.y / l, o.z};
  const XYZ q2{o.x + kAxisPoint * o.y / l, o.y - kAxisPoint * o.x / l, o.z};

  nc_arc* arc = NcNewArcGeom();
  arc->centre = centre;
  PointTransform(q1, back, arc->second);
  PointTransform(q2, back, arc->third);
  arc->fourth = start;
  arc->end = end;
  arc->radius = PointDistance(start, centre);
  arc->sweep = std::fabs(sweep);

  tool_block* move = NcNewRow();
  move->geometry = arc;
  move->kind = kMoveArc;
  MarkAsFittedMove(*move, 1);
  return move;
}

}  // namespace zu
