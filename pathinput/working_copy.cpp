#include "pathinput/working_copy.h"

#include "host/row_ops.h"

namespace zu {

std::unique_ptr<OrvoPath> MakeWorkingCopy(const OrvoPath& path) {
  const ncworkcoordinate system = path.wcs;
  std::unique_ptr<OrvoPath> copy(HostCopyPathByMatrix(&path, system.matrix));
  copy->wcs = system;
  return copy;
}

const tool_block* FirstMove(const OrvoPath& path) {
  return path.rows ? path.rows->first : nullptr;
}

XYZ StartPoint(const OrvoPath& path) {
  XYZ start, end;
  HostGetHomePoint(FirstMove(path), start, end);
  return start;
}

}  // namespace zu
