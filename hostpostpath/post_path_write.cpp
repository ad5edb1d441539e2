// CPostPathWrite: the API calls translated into the records of the
// post-path file and written by postpath_file's writer into a text file.
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "framework/text_file.h"
#include "host/post_path_writer.h"
#include "postpath_file/file_writer.h"

CPostPathPara::~CPostPathPara() = default;

namespace {

namespace ppf = zu::ppf;

// The writer's bytes into a text file, which stores each '\n' as CR LF.
class TextFileSink final : public ppf::ByteSink {
 public:
  explicit TextFileSink(zu::TextFile& file) : file_(file) {}
  bool Write(std::string_view bytes) override { return file_.Write(bytes); }

 private:
  zu::TextFile& file_;
};

ppf::Vec3 ToVec3(const XYZ& p) {
  return {p.x, p.y, p.z};
}

ppf::PathHead HeadOf(int type, const CPostPathPara& para) {
  ppf::PathHead head;
  head.type = type;
  head.record_path_type = para.path_type;
  head.name = para.path_name.str();
  head.spindle_speed = para.spindle_speed;
  head.home = ToVec3(para.home_point);
  if (para.has_tool_axis)
    head.tool_axis = ToVec3(para.tool_axis);
  head.origin = ToVec3(para.origin);
  head.x_axis = ToVec3(para.x_axis);
  head.y_axis = ToVec3(para.y_axis);
  head.z_axis = ToVec3(para.z_axis);
  head.stock_min = ToVec3(para.stock_min);
  head.stock_max = ToVec3(para.stock_max);
  const CPostTool& tool = para.tool;
  head.tool.name = tool.name.str();
  head.tool.second_name = tool.second_name.str();
  head.tool.first_integer = tool.first_integer;
  head.tool.second_integer = tool.second_integer;
  head.tool.third_integer = tool.third_integer;
  for (std::size_t i = 0; i < head.tool.values.size(); ++i)
    head.tool.values[i] = tool.values[i];
  return head;
}

ppf::MillRecord MillRecordOf(const CPostPathMill3DPara& para) {
  ppf::MillRecord record;
  for (const auto& [key, value] : para.macro_pairs)
    record.macro_pairs.emplace_back(key.str(), value.str());
  record.dwell_text = para.dwell_text.str();
  for (std::size_t i = 0; i < record.feeds.size(); ++i)
    record.feeds[i] = para.feeds[i];
  record.safe_height = para.safe_height;
  record.approach_height = para.approach_height;
  return record;
}

ppf::DrillRecord DrillRecordOf(const CPostPathDrill3DPara& para) {
  ppf::DrillRecord record;
  record.drill_mode = para.drill_mode;
  for (std::size_t i = 0; i < record.values.size(); ++i)
    record.values[i] = para.drill_values[i];
  for (std::size_t i = 0; i < record.user.size(); ++i)
    record.user[i] = para.user[i].str();
  return record;
}

// A straight move's centre and an absent vector are not the block's: they
// are left out rather than written.
ppf::Block BlockOf(const CPostPathBlock& in) {
  ppf::Block block;
  block.kind = in.kind;
  block.feed_type = in.feed_type;
  block.compensation = in.compensation;
  block.dwell = in.dwell;
  block.position_mark = in.position_mark;
  block.end = ToVec3(in.end_point);
  if (in.kind == ppf::kBlockArc)
    block.centre = ToVec3(in.centre);
  block.has_vector = in.has_vector;
  if (in.has_vector)
    block.vector = ToVec3(in.vector);
  return block;
}

}  // namespace

struct CPostPathWrite::Impl {
  zu::Text file_version;
  zu::Text file_info;
  zu::Text process_name;
  zu::Text process_comment;

  // The file between FileWrite and FileClose; `open` also after a FileWrite
  // that failed, so that FileClose reports it.
  bool open = false;
  std::string path;
  std::unique_ptr<zu::TextFile> file;
  std::unique_ptr<TextFileSink> sink;
  std::unique_ptr<ppf::PostPathFileWriter> writer;
  std::string error;  // the first failure of the current file

  int Fail(std::string message) {
    if (error.empty())
      error = std::move(message);
    return 1;
  }

  // Whether a record may go to the writer: a file is open and nothing has
  // failed.
  bool Ready() {
    if (!open) {
      Fail("no file is open: FileWrite comes first");
      return false;
    }
    return error.empty();
  }

  // 0 when the writer took what it was given, else its reason.
  int Outcome() { return writer->ok() ? 0 : Fail(writer->error()); }

  // Closes the file, and removes it unless it was written whole.
  void Discard() {
    writer.reset();
    sink.reset();
    if (file) {
      file->Close();
      file.reset();
      std::remove(path.c_str());
    }
  }
};

namespace {

// Runs `body`; nothing thrown leaves the library (each module has its own
// C++ runtime), a failure to allocate fails the call.
template <typename Impl, typename Body>
int Guarded(Impl& impl, Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return impl.Fail("out of memory");
  } catch (const std::exception& e) {
    return impl.Fail(e.what());
  } catch (...) {
    return impl.Fail("an unknown failure");
  }
}

}  // namespace

CPostPathWrite::CPostPathWrite() : impl_(std::make_unique<Impl>()) {}

CPostPathWrite::~CPostPathWrite() {
  impl_->Discard();
}

void CPostPathWrite::SetFileVersion(const zu::Text& version) {
  impl_->file_version = version;
}
void CPostPathWrite::SetFileInfo(const zu::Text& info) {
  impl_->file_info = info;
}
void CPostPathWrite::SetProcessName(const zu::Text& name) {
  impl_->process_name = name;
}
void CPostPathWrite::SetProcessComment(const zu::Text& comment) {
  impl_->process_comment = comment;
}

int CPostPathWrite::FileWrite(const char* path) {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (impl.open)
      return impl.Fail("FileWrite while the file " + impl.path + " is open");
    impl.open = true;
    impl.error.clear();
    impl.path = path ? path : "";
    if (impl.path.empty())
      return impl.Fail("FileWrite without a file name");
    impl.file = std::make_unique<zu::TextFile>(path, "w");
    if (!impl.file->is_open()) {
      impl.file.reset();
      return impl.Fail("the file " + impl.path + " cannot be created");
    }
    impl.sink = std::make_unique<TextFileSink>(*impl.file);
    impl.writer = std::make_unique<ppf::PostPathFileWriter>(*impl.sink);
    return 0;
  });
}

int CPostPathWrite::StartProcess() {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (!impl.Ready())
      return 1;
    ppf::ProcessHead head;
    head.file_version = impl.file_version.str();
    head.file_info = impl.file_info.str();
    head.process_name = impl.process_name.str();
    head.process_comment = impl.process_comment.str();
    head.use_jig_retract = UseJigRetract;
    head.jig_retract_height = JigRetractHeight;
    impl.writer->Process(head);
    return impl.Outcome();
  });
}

int CPostPathWrite::StartToolPath(PATHTYPE type, CPostPathPara* para) {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (!impl.Ready())
      return 1;
    if (!para)
      return impl.Fail("StartToolPath without a parameter record");
    if (type == PATHTYPE_DRILL) {
      const auto* drill = dynamic_cast<const CPostPathDrill3DPara*>(para);
      if (!drill)
        return impl.Fail("a drilling bracket whose record is not a CPostPathDrill3DPara");
      impl.writer->DrillPath(HeadOf(type, *drill), DrillRecordOf(*drill));
      for (const XYZ& hole : drill->holes) {
        if (!impl.writer->ok())
          break;
        impl.writer->Hole(ToVec3(hole));
      }
      return impl.Outcome();
    }
    const auto* mill = dynamic_cast<const CPostPathMill3DPara*>(para);
    if (!mill) {
      return impl.Fail("a bracket of path type " + std::to_string(static_cast<int>(type)) +
                       " whose record is not a CPostPathMill3DPara");
    }
    impl.writer->MillPath(HeadOf(type, *mill), MillRecordOf(*mill));
    return impl.Outcome();
  });
}

int CPostPathWrite::WriteBlock(CPostPathBlock* block) {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (!impl.Ready())
      return 1;
    if (!block)
      return impl.Fail("WriteBlock without a block");
    impl.writer->Block(BlockOf(*block));
    return impl.Outcome();
  });
}

int CPostPathWrite::EndToolPath() {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (!impl.Ready())
      return 1;
    impl.writer->EndPath();
    return impl.Outcome();
  });
}

int CPostPathWrite::EndProcess() {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (!impl.Ready())
      return 1;
    impl.writer->EndProcess();
    return impl.Outcome();
  });
}

int CPostPathWrite::FileClose() {
  Impl& impl = *impl_;
  return Guarded(impl, [&] {
    if (!impl.open)
      return impl.Fail("FileClose without an open file");
    impl.open = false;
    if (impl.error.empty()) {
      const ppf::WriteResult result = impl.writer->Finish();
      if (!result.ok)
        impl.Fail(result.error);
    }
    if (impl.error.empty()) {
      impl.writer.reset();
      impl.sink.reset();
      const bool closed = impl.file->Close();
      if (!closed)
        impl.Fail("the file " + impl.path + " could not be written out");
    }
    if (!impl.error.empty()) {
      impl.Discard();
      return 1;
    }
    impl.file.reset();
    return 0;
  });
}

const char* CPostPathWrite::ErrorText() const {
  return impl_->error.c_str();
}
