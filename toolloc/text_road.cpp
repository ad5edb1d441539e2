#include "toolloc/text_road.h"

#include <cstdio>

#include "conditioning/path_optimization.h"
#include "framework/text_file.h"
#include "pathinput/working_copy.h"
#include "toolloc/path_records.h"
#include "toolloc/record_parts.h"

namespace zu {
namespace {

const OrvoPath* PathOf(const PickNode& node) {
  return static_cast<const OrvoPath*>(node.object);
}

// The writer's bytes into a text-mode file.
class TextFileSink final : public ByteSink {
 public:
  explicit TextFileSink(TextFile& file) : file_(file) {}
  bool Write(std::string_view bytes) override { return file_.Write(bytes); }

 private:
  TextFile& file_;
};

}  // namespace

void WriteToolLocationRecords(PickNode* first, const TextRoadOptions& options,
                              ToolLocationRecords& out) {
  if (!first)
    return;
  // Every picked object gets a tool line, also one that gets no record.
  int count = 0;
  for (const PickNode* node = first; node; node = node->next)
    count += PathOf(*node) ? 1 : 0;
  out.Head({count, count});
  out.BeginToolList();
  int index = 0;
  for (const PickNode* node = first; node; node = node->next) {
    if (const OrvoPath* path = PathOf(*node))
      out.Tool(ToolEntryOf(index++, *path));
  }
  out.EndSection();
  out.Machine(options.mcf_path);
  out.CodeFile(options.code_file);
  ncworkcoordinate fixture;
  HostGetCurrentCoordSys(fixture);
  out.Jig({options.use_jig_coord, FrameOf(fixture)});

  TextRoadState state;
  for (const PickNode* node = first; node; node = node->next) {
    const OrvoPath* path = PathOf(*node);
    if (!path)
      continue;
    if (path->MultiAxisKind != kTwoOrThreeAxis) {
      if (path->MultiAxisKind == kFiveAxis)
        WriteFiveAxisPath(out, *path, state);
      continue;
    }
    std::unique_ptr<OrvoPath> copy = MakeWorkingCopy(*path);
    if (options.optimize) {
      HostShowPrompt("进行优化处理...");
      OptimizeWorkingCopy(copy, options.tolerance, options.optimizer_selector);
    }
    if (copy->PathKind == kDrillingPath) {
      WriteDrillPath(out, *copy, state);
    } else {
      WriteMillPath(out, *copy, state, fixture, options);
    }
  }
  out.Tail();
}

WriteResult WriteToolLocationFile(PickNode* first, const TextRoadOptions& options,
                                  const std::string& path) {
  TextFile file(path.c_str(), "w");
  if (!file.is_open())
    return {false, path + " cannot be created"};
  TextFileSink sink(file);
  ToolLocationFileWriter writer(sink);
  WriteToolLocationRecords(first, options, writer);
  WriteResult result = writer.Finish();
  if (!file.Close() && result.ok)
    result = {false, path + " could not be written completely"};
  if (!result.ok)
    std::remove(path.c_str());
  return result;
}

}  // namespace zu
