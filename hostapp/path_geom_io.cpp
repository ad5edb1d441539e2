#include "host/path_geom_io.h"

#include <algorithm>

int CPathGeomIO::GetCurvePathes(const Node* node, curvecmp*& first) {
  first = nullptr;
  if (!node)
    return 0;
  curvecmp** tail = &first;
  for (const auto& points : node->curves) {
    *tail = new curvecmp{points, nullptr};
    tail = &(*tail)->next;
  }
  return static_cast<int>(node->curves.size());
}

void CPathGeomIO::GetDrillPoints(const Node* node, XYZ*& points, int& count) {
  points = nullptr;
  count = 0;
  if (!node || node->drill_points.empty())
    return;
  count = static_cast<int>(node->drill_points.size());
  points = new XYZ[node->drill_points.size()];
  std::copy(node->drill_points.begin(), node->drill_points.end(), points);
}

void CPathGeomIO::SaveDrillPoints(Node* node, const XYZ* points, int last) {
  if (!node)
    return;
  node->drill_points.clear();
  if (last >= 0 && points)
    node->drill_points.assign(points, points + last + 1);
}

void CPathGeomIO::FreePoints(XYZ* points) {
  delete[] points;
}

void CurveEnds(const curvecmp* curve, XYZ& start, XYZ& end) {
  if (!curve || curve->points.empty()) {
    start = end = XYZ{};
    return;
  }
  start = curve->points.front();
  end = curve->points.back();
}

void CurveFree(curvecmp* first) {
  while (first) {
    curvecmp* next = first->next;
    delete first;
    first = next;
  }
}
