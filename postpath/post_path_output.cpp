#include "postpath/post_path_output.h"

#include <memory>

#include "conditioning/path_optimization.h"
#include "pathinput/working_copy.h"

namespace zu {
namespace {

constexpr int kClassMill2d = 2300;
constexpr int kClassMill3d = 2301;
constexpr int kClassMultiAxis = 2302;
constexpr int kClassFiveAxis = 2303;

}  // namespace

PostPathResult WritePostPathFile(PickNode* first, const char* /*code_file*/, const char* file,
                                 const MainRoadOptions& options) {
  if (!first)
    return {false, "no picked paths"};
  CPostPathWrite writer;
  writer.SetFileVersion("2.1");
  writer.SetFileInfo("Created by ORVO ZU 2008r1sp1");
  writer.SetProcessName("ORVO ZU.ProcessName");
  writer.SetProcessComment("ORVO");
  if (writer.FileWrite(file) != 0)
    return {false, writer.ErrorText()};
  if (options.use_jig_coord) {
    if (options.fix_mill_mode == 1) {
      writer.UseJigRetract = 1;
      writer.JigRetractHeight = options.jig_tool_up_height;
    } else {
      writer.UseJigRetract = 0;
    }
  }
  writer.StartProcess();
  // Point-and-axis blocks repeat-filtered across the paths of this file only.
  AxisBlockWriter axis_blocks(writer);
  int index = 0;
  for (PickNode* node = first; node; node = node->next, ++index) {
    auto* path = static_cast<OrvoPath*>(node->object);
    if (!path)
      continue;
    switch (path->PathClassCode) {
      case kClassMill2d:
      case kClassMill3d: {
        std::unique_ptr<OrvoPath> copy = MakeWorkingCopy(*path);
        if (options.optimize) {
          HostShowPrompt("进行优化处理...");
          OptimizeWorkingCopy(copy, options.tolerance, options.optimizer_selector);
        }
        if (!options.use_jig_coord || options.fix_mill_mode == 1) {
          ConvertMillOrDrillPath(writer, *copy, index, options);
        } else if (options.fix_mill_mode == 0) {
          ConvertToFiveAxisOrientation(axis_blocks, *copy, index, options);
        }
        break;
      }
      case kClassMultiAxis:
      case kClassFiveAxis:
        ConvertMultiAxisPath(axis_blocks, *path, index);
        break;
      default:
        break;  // not a path this road writes
    }
  }
  writer.EndProcess();
  // The writer's own reason: the file could not be written out, or a path
  // was refused on the way.
  if (writer.FileClose() != 0)
    return {false, writer.ErrorText()};
  return {};
}

}  // namespace zu
