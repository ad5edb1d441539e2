// Reading and writing a path's source geometry (its geometry node), and the
// curves it holds.
#pragma once

#include "host/geometry.h"
#include "host/host_api.h"
#include "host/path_model.h"

class ZUHOST_API CPathGeomIO {
 public:
  // The source curves of `node` as a new list (`first` null when there are
  // none); returns the number of curves. Free the list with CurveFree.
  int GetCurvePathes(const Node* node, curvecmp*& first);
  // The hole positions of `node` as a new array of `count` points (null and
  // 0 when there are none). Free the array with FreePoints.
  void GetDrillPoints(const Node* node, XYZ*& points, int& count);
  // Replaces the hole positions of `node` by points 0 to `last` of `points`
  // (last < 0: no holes).
  void SaveDrillPoints(Node* node, const XYZ* points, int last);
  // Frees an array from GetDrillPoints.
  static void FreePoints(XYZ* points);
};

// The start and end point of a curve; a curve without points gives (0, 0, 0).
ZUHOST_API void CurveEnds(const curvecmp* curve, XYZ& start, XYZ& end);
// Frees a list of curves from GetCurvePathes.
ZUHOST_API void CurveFree(curvecmp* first);
