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
  // Rows without moves are passed over: the path starts with the first move
  // it makes.
  for (const tool_row* row = path.rows; row; row = row->next) {
    if (row->first)
      return row->first;
  }
  return nullptr;
}

XYZ StartPoint(const OrvoPath& path) {
  XYZ start, end;
  HostGetHomePoint(FirstMove(path), start, end);
  return start;
}

}  // namespace zu
