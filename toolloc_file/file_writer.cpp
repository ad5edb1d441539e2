#include "toolloc_file/file_writer.h"

#include <charconv>
#include <string>

#include "format_io/record_output.h"
#include "toolloc_file/fixed20.h"
#include "toolloc_file/internal/record_order.h"

namespace zu {
namespace {

// What a text may not hold: its line would break or (for C readers) end.
constexpr std::string_view kLineBreaking("\r\n\0", 3);

}  // namespace

class ToolLocationFileWriter::Impl {
 public:
  explicit Impl(ByteSink& sink) : out_(sink) {}

  void Head(const FileHead& head) {
    if (!Begin(order_.Head(head), Where::File))
      return;
    Put("[filehead]\nfileversion 1.0\npathnumber ");
    Int(head.path_number);
    Put("\ntoolnumber ");
    Int(head.tool_number);
    Put("\npersoninfo ORVO ZU 2006 r3\n[endsect]\n");
    out_.End();
  }

  void BeginToolList() {
    if (!Begin(order_.BeginToolList(), Where::File))
      return;
    Put("[toollist]\n");
    out_.End();
  }

  void Tool(const ToolEntry& tool) {
    if (!Begin(order_.Tool(tool), Where::Tool))
      return;
    Int(tool.index);
    Put(",");
    std::string& bytes = out_.bytes();
    const std::size_t name_start = bytes.size();
    Text(tool.name, "the name");
    // A ',' in the name would split the line's fields.
    for (std::size_t i = name_start; i < bytes.size(); ++i) {
      if (bytes[i] == ',')
        bytes[i] = ' ';
    }
    Put(",");
    Int(tool.integer1);
    Put(",");
    Int(tool.integer2);
    Put(",");
    Int(tool.integer2);
    Put(",");
    Real(tool.dimension1, "dimension 1");
    Put(",");
    Real(tool.dimension6, "dimension 6");
    Put(",");
    Real(tool.dimension3, "dimension 3");
    Put(",0.00000000000000000000,");
    Real(tool.dimension2, "dimension 2");
    Put(",");
    Real(tool.dimension5, "dimension 5");
    Put(",");
    Real(tool.dimension7, "dimension 7");
    Put(",ORVO ZU\n");
    out_.End();
  }

  void EndSection() {
    if (!Begin(order_.EndSection(), Where::File))
      return;
    Put("[endsect]\n");
    out_.End();
  }

  void Machine(std::string_view mcf_path) {
    if (!Begin(order_.Machine(), Where::File))
      return;
    Put("[machine]\nmcfname ");
    Text(mcf_path, "the machine file's path");
    Put("\n[endsect]\n");
    out_.End();
  }

  void CodeFile(std::string_view file_name) {
    if (!Begin(order_.CodeFile(), Where::File))
      return;
    Put("[creategfile]\nfilename ");
    Text(file_name, "the code file's path");
    Put("\n[endsect]\n");
    out_.End();
  }

  void Jig(const JigSection& jig) {
    if (!Begin(order_.Jig(), Where::Jig))
      return;
    Put("[jigcoordinate]\nusejigcoord ");
    Int(jig.use_jig);
    Put("\njigcoord ");
    Frame(jig.frame, "");
    Put("[endsect]\n");
    out_.End();
  }

  void PathStart(const zu::PathStart& start) {
    if (!Begin(order_.PathStart(start), Where::Path))
      return;
    Put("[pathpara]\npathname ");
    Text(start.name, "the path name");
    Put("\ntoolindex ");
    Int(start.tool_index);
    Put("\n");
    out_.End();
  }

  void PathPlacement(const zu::PathPlacement& placement) {
    if (!Begin(order_.PathPlacement(), Where::Path))
      return;
    Put("homepoint ");
    Point(placement.home, "the home point");
    Put("pathcoordinate ");
    Frame(placement.frame, " of the coordinate system");
    Put("stock ");
    Point(placement.stock_corner, "the stock corner");
    Point(placement.stock_size, "the stock size");
    out_.End();
  }

  void DrillKeys(const zu::DrillKeys& keys) {
    static constexpr const char* kUserKeys[20] = {
        "udpara1 ",  "udpara2 ",  "udpara3 ",  "udpara4 ",  "udpara5 ",  "udpara6 ",  "udpara7 ",
        "udpara8 ",  "udpara9 ",  "udpara10 ", "udpara11 ", "udpara12 ", "udpara13 ", "udpara14 ",
        "udpara15 ", "udpara16 ", "udpara17 ", "udpara18 ", "udpara19 ", "udpara20 "};
    if (!Begin(order_.DrillKeys(), Where::Path))
      return;
    Put("pathtype 1\nspeed ");
    Real(keys.speed, "the speed");
    Put("\ndrillmode ");
    Int(keys.drill_mode);
    Put("\ndrillfeed ");
    Real(keys.drill_feed, "the drill feed");
    Put("\nclearance ");
    Real(keys.clearance, "the clearance");
    Put("\nsafedis ");
    Real(keys.safe_distance, "the safe distance");
    Put("\nholedepth ");
    Real(keys.hole_depth, "the hole depth");
    Put("\npeckdepth ");
    Real(keys.peck_depth, "the peck depth");
    Put("\ndwelltime ");
    Real(keys.dwell_time, "the dwell time");
    Put("\nworksurface ");
    Real(keys.work_surface, "the work surface");
    Put("\n");
    for (int i = 0; i < 20; ++i) {
      Put(kUserKeys[i]);
      Text(keys.user[i], "a user parameter");
      Put("\n");
    }
    out_.End();
  }

  void Holes(int count) {
    if (!Begin(order_.Holes(count), Where::Path))
      return;
    Put("pointnumber ");
    Int(count);
    Put("\n");
    holes_written_ = 0;
    out_.End();
  }

  void Hole(const Vec3& hole) {
    if (!Begin(order_.Hole(), Where::Path))
      return;
    Put("endpoint ");
    if (!AppendPoint(hole)) {
      out_.Refuse("hole " + std::to_string(holes_written_) + WhereText() +
                  " is not a finite point");
      return;
    }
    ++holes_written_;
    out_.End();
  }

  void MillKeys(const zu::MillKeys& keys) {
    if (!Begin(order_.MillKeys(keys), Where::Path))
      return;
    Put(keys.path_type == kPathTypeFiveAxis ? "pathtype 5\nsafe_h " : "pathtype 2\nsafe_h ");
    Real(keys.safe_height, "the safe height");
    Put("\nsafe_hmode ");
    Int(keys.safe_height_mode);
    Put("\napp_h ");
    Real(keys.approach_height, "the approach height");
    Put("\napp_hmode ");
    Int(keys.approach_height_mode);
    Put("\nspeed ");
    Real(keys.speed, "the speed");
    // Ten values, A -1 -1 D B A B B C -1: one blank after the key, two after
    // the first value, one after every later one.
    const FeedLine& f = keys.feed;
    Put("\nfeed ");
    Real(f.a, "feed value A");
    Put("  -1.00000000000000000000 -1.00000000000000000000 ");
    Real(f.d, "feed value D");
    Put(" ");
    Real(f.b, "feed value B");
    Put(" ");
    Real(f.a, "feed value A");
    Put(" ");
    Real(f.b, "feed value B");
    Put(" ");
    Real(f.b, "feed value B");
    Put(" ");
    Real(f.c, "feed value C");
    Put(" -1.00000000000000000000\n");
    if (keys.dwell_text) {
      Put("paradwell ");
      Text(*keys.dwell_text, "the dwell text");
      Put("\n");
    }
    Put("[endsect]\n");
    out_.End();
  }

  void Block(const zu::Block& block) {
    if (!Begin(order_.Block(block), Where::Path))
      return;
    Put("[block]\nblocktype ");
    Int(static_cast<int>(block.type));
    Put("\n");
    switch (block.type) {
      case BlockType::Line:
        Put("endpoint ");
        Point(block.end, "the end point of a block");
        if (block.end_vector) {
          Put("endpointvector ");
          Point(*block.end_vector, "the tool axis of a line block");
        }
        break;
      case BlockType::Arc:
        Put("endpoint ");
        Point(block.end, "the end point of a block");
        Put("center ");
        Point(block.centre, "the centre of an arc block");
        Put("vector ");
        Point(block.normal, "the normal of an arc block");
        break;
      case BlockType::FeedType:
        Put("feedtype ");
        Int(block.code);
        Put("\n");
        break;
      case BlockType::Compensation:
        Put("toolcmpflag ");
        Int(block.code);
        Put("\n");
        break;
      case BlockType::Dwell:
        Put("dwellflag ");
        Int(block.code);
        Put("\n");
        break;
    }
    Put("[endsect]\n");
    out_.End();
  }

  void Tail() {
    if (!Begin(order_.Tail(), Where::File))
      return;
    Put("[filetail]\n");
    out_.End();
  }

  WriteResult Finish() {
    if (order_.next() != toolloc_internal::Next::Done)
      out_.Incomplete(toolloc_internal::DescribeNext(order_.next()));
    return out_.Finish();
  }

 private:
  // Which record a refused field belongs to, for the message.
  enum class Where { File, Tool, Jig, Path };

  // Starts a record that the order allows; false when the writer has
  // stopped or refuses the record.
  bool Begin(bool allowed, Where where) {
    if (!out_.Begin(allowed, order_.error()))
      return false;
    where_ = where;
    return true;
  }

  std::string WhereText() const {
    switch (where_) {
      case Where::Tool:
        return " of tool " + std::to_string(order_.tools() - 1);
      case Where::Jig:
        return " of the fixture system";
      case Where::Path:
        return " in path record " + std::to_string(order_.path_records() - 1);
      case Where::File:
        break;
    }
    return {};
  }

  // The appends below do nothing once the writer has stopped, so that a
  // record's lines read as a plain sequence.

  void Put(std::string_view text) {
    if (!out_.failed())
      out_.bytes().append(text);
  }

  void Int(int value) {
    if (out_.failed())
      return;
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out_.bytes().append(text, result.ptr);
  }

  void Real(double value, const char* what) {
    if (!out_.failed() && !AppendFixed20(out_.bytes(), value))
      out_.Refuse(std::string(what) + WhereText() + " is not a finite number");
  }

  // "x,y,z\n"; false (with the buffer as it may be) when a coordinate is
  // not finite.
  bool AppendPoint(const Vec3& p) {
    if (out_.failed())
      return true;
    std::string& bytes = out_.bytes();
    if (!AppendFixed20(bytes, p.x))
      return false;
    bytes += ',';
    if (!AppendFixed20(bytes, p.y))
      return false;
    bytes += ',';
    if (!AppendFixed20(bytes, p.z))
      return false;
    bytes += '\n';
    return true;
  }

  // `of` follows `what` in the message.
  void Point(const Vec3& p, const char* what, const char* of = "") {
    if (!AppendPoint(p))
      out_.Refuse(std::string(what) + of + WhereText() + " is not a finite point");
  }

  // The origin and the three axes, one line each.
  void Frame(const zu::Frame& frame, const char* of) {
    Point(frame.origin, "the origin", of);
    Point(frame.x_axis, "the X axis", of);
    Point(frame.y_axis, "the Y axis", of);
    Point(frame.z_axis, "the Z axis", of);
  }

  void Text(std::string_view text, const char* what) {
    if (out_.failed())
      return;
    if (text.find_first_of(kLineBreaking) != std::string_view::npos) {
      out_.Refuse(std::string(what) + WhereText() +
                  " holds a line break or a NUL byte, which the file cannot hold");
      return;
    }
    out_.bytes().append(text);
  }

  fio::RecordOutput out_;
  toolloc_internal::RecordOrder order_;
  Where where_ = Where::File;
  int holes_written_ = 0;
};

ToolLocationFileWriter::ToolLocationFileWriter(ByteSink& sink)
    : impl_(std::make_unique<Impl>(sink)) {}
ToolLocationFileWriter::~ToolLocationFileWriter() = default;

void ToolLocationFileWriter::Head(const FileHead& head) {
  impl_->Head(head);
}
void ToolLocationFileWriter::BeginToolList() {
  impl_->BeginToolList();
}
void ToolLocationFileWriter::Tool(const ToolEntry& tool) {
  impl_->Tool(tool);
}
void ToolLocationFileWriter::EndSection() {
  impl_->EndSection();
}
void ToolLocationFileWriter::Machine(std::string_view mcf_path) {
  impl_->Machine(mcf_path);
}
void ToolLocationFileWriter::CodeFile(std::string_view file_name) {
  impl_->CodeFile(file_name);
}
void ToolLocationFileWriter::Jig(const JigSection& jig) {
  impl_->Jig(jig);
}
void ToolLocationFileWriter::PathStart(const zu::PathStart& start) {
  impl_->PathStart(start);
}
void ToolLocationFileWriter::PathPlacement(const zu::PathPlacement& placement) {
  impl_->PathPlacement(placement);
}
void ToolLocationFileWriter::DrillKeys(const zu::DrillKeys& keys) {
  impl_->DrillKeys(keys);
}
void ToolLocationFileWriter::Holes(int count) {
  impl_->Holes(count);
}
void ToolLocationFileWriter::Hole(const Vec3& hole) {
  impl_->Hole(hole);
}
void ToolLocationFileWriter::MillKeys(const zu::MillKeys& keys) {
  impl_->MillKeys(keys);
}
void ToolLocationFileWriter::Block(const zu::Block& block) {
  impl_->Block(block);
}
void ToolLocationFileWriter::Tail() {
  impl_->Tail();
}
WriteResult ToolLocationFileWriter::Finish() {
  return impl_->Finish();
}

}  // namespace zu
