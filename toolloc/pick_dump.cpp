#include "toolloc/pick_dump.h"

#include "framework/text_file.h"

namespace zu {

void AppendPickDump(const char* file, const PickNode* first) {
  TextFile dump(file, "a+");
  if (!dump.is_open())
    return;
  for (const PickNode* node = first; node; node = node->next) {
    const auto* path = static_cast<const OrvoPath*>(node->object);
    if (!path)
      continue;
    const ncworkcoordinate& w = path->wcs;
    dump.Printf("%f,%f,%f,%f,%f,%f,%f,%f,%f,\n", w.origin.x, w.origin.y, w.origin.z, w.x_axis.x,
                w.x_axis.y, w.x_axis.z, w.y_axis.x, w.y_axis.y, w.y_axis.z);
  }
}

}  // namespace zu
