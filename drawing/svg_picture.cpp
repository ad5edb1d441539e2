#include "drawing/svg_picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/internal/arc.h"
#include "drawing/svg_text.h"

namespace zu::draw {

namespace {

using internal::ArcFrame;

constexpr const char* kPalette[] = {"#4e79a7", "#f28e2b", "#e15759", "#59a14f", "#b07aa1",
                                    "#76b7b2", "#9c755f", "#edc948", "#ff9da7", "#bab0ac"};
// A sans-serif family for Latin text, a CJK one for what it lacks, and the
// generic family last. (librsvg, given the generic family first, draws
// Latin text in the CJK font.)
constexpr const char* kFont = "DejaVu Sans, AR PL UMing CN, AR PL UKai CN, sans-serif";

// Sizes on the picture, pixels.
constexpr double kLeft = 40, kTop = 44, kBottom = 64, kGap = 40, kLegendWidth = 260;
constexpr double kLegendLine = 20, kFontPx = 12, kTitlePx = 16;
constexpr double kAxisSpacingPx = 24, kAxisLengthPx = 16;

bool Usable(double v) {
  return std::isfinite(v) && std::fabs(v) <= kLargestCoordinate;
}
bool Usable(const Point& p) {
  return Usable(p.x) && Usable(p.y) && Usable(p.z);
}

// Why the picture cannot be drawn, or "".
std::string CheckNumbers(const Picture& picture) {
  for (const Trace& trace : picture.traces) {
    bool ok = true;
    for (const Move& m : trace.moves) {
      ok = ok && Usable(m.from) && Usable(m.to);
      if (m.kind == Move::Kind::kArc)
        ok = ok && Usable(m.centre) && Usable(m.normal) && std::isfinite(m.sweep);
    }
    for (const Hole& h : trace.holes)
      ok = ok && Usable(h.top) && Usable(h.bottom);
    for (const ToolAxis& a : trace.axes)
      ok = ok && Usable(a.at) && Usable(a.axis);
    for (const Mark& m : trace.marks)
      ok = ok && Usable(m.at);
    if (!ok) {
      return "path \"" + trace.name +
             "\" has a coordinate that is not a number or lies farther than 1000 km from the "
             "origin: not drawn";
    }
  }
  for (const Callout& c : picture.callouts) {
    if (!Usable(c.low) || !Usable(c.high))
      return "a marked place has a coordinate that is not a number or too large: not drawn";
  }
  return {};
}

struct Range {
  double low = INFINITY;
  double high = -INFINITY;
  void Add(double v) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool empty() const { return !(low <= high); }
  double size() const { return empty() ? 0 : high - low; }
  double middle() const { return empty() ? 0 : (low + high) / 2; }
};

// About how wide a line of legend text is drawn, pixels: 7 for each
// character of one byte, 12 for each wider one (CJK).
double TextWidthPx(std::string_view utf8) {
  double width = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
      width += 7;
    else if (byte >= 0xC0)
      width += 12;
  }
  return width;
}

bool CircleInView(const ArcFrame& arc, const Projection& view) {
  return std::fabs(internal::Dot(arc.normal, view.toward)) > 1 - 1e-9;
}

class Writer {
 public:
  Writer(const Picture& picture, const DrawOptions& options)
      : picture_(picture), options_(options), view_(ProjectionOf(options.view)) {}

  SvgDrawing Draw();

 private:
  void Measure();
  void AddToBoxes(const Point& p);
  void Layout();
  void Open(double width_px, double height_px, double x, double y, double w, double h);
  void Num(double v) { AppendNumber(out_, v, decimals_); }
  void XY(const char* x, const char* y, const Point& p);
  void Text(double x_px, double y_px, double size_px, const std::string& utf8,
            const char* css_class, const char* extra = "");
  void Trace(const zu::draw::Trace& trace, const std::string& colour);
  void MoveElement(const Move& move, const char* dash);
  void Holes(const zu::draw::Trace& trace);
  void Axes(const zu::draw::Trace& trace);
  void Marks(const zu::draw::Trace& trace, const std::string& colour);
  void Callouts();
  void Legend(const std::vector<std::string>& colours);
  void Frame();
  SvgDrawing Message(const std::string& message);
  double PxX(double x_px) const { return origin_x_ + x_px * k_; }
  double PxY(double y_px) const { return origin_y_ + y_px * k_; }

  const Picture& picture_;
  const DrawOptions& options_;
  Projection view_;
  std::string out_;
  Range box_[3];  // x, y, z
  Range u_;
  Range v_;
  double k_ = 1;  // millimetres per pixel
  int decimals_ = 3;
  double origin_x_ = 0, origin_y_ = 0;  // the picture's top left corner, user units
  double drawing_w_ = 0, drawing_h_ = 0, width_px_ = 0, height_px_ = 0;
  std::size_t moves_ = 0;
  bool has_rapids_ = false, has_feeds_ = false, has_holes_ = false, has_axes_ = false;
  bool has_mark_[4] = {};
};

void Writer::AddToBoxes(const Point& p) {
  box_[0].Add(p.x);
  box_[1].Add(p.y);
  box_[2].Add(p.z);
  const Flat f = Project(view_, p);
  u_.Add(f.u);
  v_.Add(f.v);
}

void Writer::Measure() {
  const Point axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (const zu::draw::Trace& trace : picture_.traces) {
    for (const Move& m : trace.moves) {
      AddToBoxes(m.from);
      AddToBoxes(m.to);
      (m.rapid ? has_rapids_ : has_feeds_) = true;
      const auto arc = internal::FrameOf(m);
      if (!arc)
        continue;
      // Where the arc bulges past its ends, in space and on the view.
      for (const Point& d : axes) {
        for (double angle : internal::ExtremeAngles(*arc, d))
          AddToBoxes(arc->At(angle));
      }
      for (const Point& d : {view_.right, view_.up}) {
        for (double angle : internal::ExtremeAngles(*arc, d))
          AddToBoxes(arc->At(angle));
      }
    }
    for (const Hole& h : trace.holes) {
      AddToBoxes(h.top);
      AddToBoxes({h.top.x, h.top.y, h.bottom});
      has_holes_ = true;
    }
    for (const ToolAxis& a : trace.axes) {
      AddToBoxes(a.at);
      has_axes_ = true;
    }
    for (const Mark& m : trace.marks) {
      AddToBoxes(m.at);
      has_mark_[static_cast<int>(m.kind)] = true;
    }
  }
  for (const Callout& c : picture_.callouts) {
    AddToBoxes(c.low);
    AddToBoxes(c.high);
  }
}

void Writer::Layout() {
  // A drawing with all its points on one line, or on one point, still
  // gets a size: a fiftieth of its length, or a millimetre where it is
  // under a micrometre long (so that the scale stays a number a picture
  // can print, however close two points are).
  double du = u_.size(), dv = v_.size();
  const double span = std::max(du, dv);
  const double least = span >= 1e-3 ? span / 50 : 1;
  du = std::max(du, least);
  dv = std::max(dv, least);
  const double scale = std::min(options_.width_px / du, options_.height_px / dv);
  k_ = 1 / scale;
  // Fine enough that a hundredth of a pixel shows, never coarser than
  // 0.001 mm.
  decimals_ = std::clamp(static_cast<int>(std::ceil(-std::log10(k_))) + 2, 3, 12);
  drawing_w_ = du * scale;
  drawing_h_ = dv * scale;
  origin_x_ = u_.middle() - (drawing_w_ / 2 + kLeft) * k_;
  origin_y_ = -v_.middle() - (drawing_h_ / 2 + kTop) * k_;
  std::size_t lines = picture_.traces.size() + picture_.notes.size() + 1;
  for (bool key : {has_feeds_, has_rapids_, has_holes_, has_axes_, has_mark_[0], has_mark_[1],
                   has_mark_[2], has_mark_[3]})
    lines += key;
  double legend = kLegendWidth;
  for (const zu::draw::Trace& trace : picture_.traces)
    legend = std::max(legend, 32 + TextWidthPx(trace.name));
  for (const std::string& note : picture_.notes)
    legend = std::max(legend, TextWidthPx(note));
  width_px_ = std::max(kLeft + drawing_w_ + kGap + legend,
                       kLeft + TextWidthPx(picture_.title) * kTitlePx / kFontPx);
  height_px_ = std::max(kTop + drawing_h_ + kBottom, kTop + kLegendLine * double(lines));
}

void Writer::Open(double width_px, double height_px, double x, double y, double w, double h) {
  out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
  AppendNumber(out_, width_px, 0);
  out_ += "\" height=\"";
  AppendNumber(out_, height_px, 0);
  out_ += "\" viewBox=\"";
  Num(x);
  out_ += ' ';
  Num(y);
  out_ += ' ';
  Num(w);
  out_ += ' ';
  Num(h);
  out_ += "\" data-view=\"";
  out_ += ViewName(options_.view);
  out_ += "\" font-family=\"";
  out_ += kFont;
  out_ += "\">\n<rect class=\"background\" x=\"";
  Num(x);
  out_ += "\" y=\"";
  Num(y);
  out_ += "\" width=\"";
  Num(w);
  out_ += "\" height=\"";
  Num(h);
  out_ += "\" fill=\"white\"/>\n";
}

void Writer::XY(const char* x, const char* y, const Point& p) {
  const Flat f = Project(view_, p);
  out_ += ' ';
  out_ += x;
  out_ += "=\"";
  Num(f.u);
  out_ += "\" ";
  out_ += y;
  out_ += "=\"";
  Num(-f.v);
  out_ += '"';
}

void Writer::Text(double x_px, double y_px, double size_px, const std::string& utf8,
                  const char* css_class, const char* extra) {
  out_ += "<text class=\"";
  out_ += css_class;
  out_ += "\" x=\"";
  Num(PxX(x_px));
  out_ += "\" y=\"";
  Num(PxY(y_px));
  out_ += "\" font-size=\"";
  Num(size_px * k_);
  out_ += '"';
  out_ += extra;
  out_ += '>';
  out_ += EscapeXml(utf8);
  out_ += "</text>\n";
}

void Writer::MoveElement(const Move& move, const char* dash) {
  ++moves_;
  const char* kind = move.rapid ? "rapid" : "feed";
  const auto arc = internal::FrameOf(move);
  if (!arc) {
    out_ += "<line class=\"";
    out_ += kind;
    out_ += '"';
    XY("x1", "y1", move.from);
    XY("x2", "y2", move.to);
    out_ += move.rapid ? dash : "";
    out_ += "/>\n";
    return;
  }
  if (CircleInView(*arc, view_)) {
    // SVG's sweep flag 1 turns clockwise as the picture is seen.
    const bool anticlockwise = (arc->sweep > 0) == (internal::Dot(arc->normal, view_.toward) > 0);
    const char* flag = anticlockwise ? " 0 " : " 1 ";
    const double span = std::fabs(arc->sweep);
    const bool full = span >= 2 * std::numbers::pi - 1e-9;
    out_ += "<path class=\"";
    out_ += kind;
    out_ += " arc\" d=\"M";
    const auto point = [&](const Point& p) {
      const Flat f = Project(view_, p);
      Num(f.u);
      out_ += ' ';
      Num(-f.v);
    };
    const auto arc_to = [&](const Point& p, bool large) {
      out_ += " A";
      Num(arc->radius);
      out_ += ' ';
      Num(arc->radius);
      out_ += " 0 ";
      out_ += large ? '1' : '0';
      out_ += flag;
      point(p);
    };
    point(move.from);
    // A full turn ends where it starts, which one SVG arc cannot say.
    if (full)
      arc_to(arc->At(arc->sweep / 2), false);
    arc_to(move.to, !full && span > std::numbers::pi);
    out_ += '"';
    out_ += move.rapid ? dash : "";
    out_ += "/>\n";
    return;
  }
  std::vector<Point> points = internal::SampleArc(*arc, options_.arc_tolerance);
  points.front() = move.from;
  points.back() = move.to;
  out_ += "<polyline class=\"";
  out_ += kind;
  out_ += " arc\" points=\"";
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Flat f = Project(view_, points[i]);
    if (i > 0)
      out_ += ' ';
    Num(f.u);
    out_ += ',';
    Num(-f.v);
  }
  out_ += '"';
  out_ += move.rapid ? dash : "";
  out_ += "/>\n";
}

void Writer::Holes(const zu::draw::Trace& trace) {
  const double r = 4 * k_;
  for (const Hole& h : trace.holes) {
    const Flat top = Project(view_, h.top);
    const Point bottom{h.top.x, h.top.y, h.bottom};
    out_ += "<g class=\"hole\">\n<line class=\"hole-depth-line\"";
    XY("x1", "y1", h.top);
    XY("x2", "y2", bottom);
    out_ += "/>\n<circle class=\"hole-marker\" cx=\"";
    Num(top.u);
    out_ += "\" cy=\"";
    Num(-top.v);
    out_ += "\" r=\"";
    Num(r);
    out_ += "\"/>\n<path class=\"hole-cross\" d=\"M";
    Num(top.u - r);
    out_ += ' ';
    Num(-top.v);
    out_ += " h";
    Num(2 * r);
    out_ += " M";
    Num(top.u);
    out_ += ' ';
    Num(-top.v - r);
    out_ += " v";
    Num(2 * r);
    out_ += "\"/>\n<text class=\"hole-depth\" x=\"";
    Num(top.u + 1.5 * r);
    out_ += "\" y=\"";
    Num(-top.v - 1.5 * r);
    out_ += "\" font-size=\"";
    Num(10 * k_);
    out_ += "\" stroke=\"none\" fill=\"#333\">depth ";
    out_ += Length(h.top.z - h.bottom);
    out_ += "</text>\n</g>\n";
  }
}

void Writer::Axes(const zu::draw::Trace& trace) {
  bool any = false;
  Flat last;
  for (const ToolAxis& a : trace.axes) {
    const Flat at = Project(view_, a.at);
    if (any && std::hypot(at.u - last.u, at.v - last.v) < kAxisSpacingPx * k_)
      continue;
    const double length = internal::Norm(a.axis);
    if (!(length > 0))
      continue;
    any = true;
    last = at;
    const Point tip = internal::Add(a.at, internal::Scale(kAxisLengthPx * k_ / length, a.axis));
    out_ += "<line class=\"tool-axis\"";
    XY("x1", "y1", a.at);
    XY("x2", "y2", tip);
    out_ += "/>\n";
  }
}

void Writer::Marks(const zu::draw::Trace& trace, const std::string& colour) {
  const double s = 5 * k_;
  for (const Mark& m : trace.marks) {
    const Flat f = Project(view_, m.at);
    if (m.kind == Mark::Kind::kDwell) {
      out_ += "<circle class=\"dwell\" cx=\"";
      Num(f.u);
      out_ += "\" cy=\"";
      Num(-f.v);
      out_ += "\" r=\"";
      Num(0.7 * s);
      out_ += "\" fill=\"#222\" stroke=\"none\"/>\n";
      continue;
    }
    if (m.kind == Mark::Kind::kPoint) {
      out_ += "<circle class=\"point\" cx=\"";
      Num(f.u);
      out_ += "\" cy=\"";
      Num(-f.v);
      out_ += "\" r=\"";
      Num(0.4 * s);
      out_ += "\" fill=\"";
      out_ += EscapeXml(colour);
      out_ += "\" stroke=\"none\"/>\n";
      continue;
    }
    const bool on = m.kind == Mark::Kind::kCompensationOn;
    out_ += on ? "<path class=\"compensation-on\" d=\"M" : "<path class=\"compensation-off\" d=\"M";
    Num(f.u);
    out_ += ' ';
    Num(-f.v - s);
    out_ += " l";
    Num(s);
    out_ += ' ';
    Num(1.7 * s);
    out_ += " h";
    Num(-2 * s);
    out_ += " z\" fill=\"";
    out_ += on ? EscapeXml(colour) : std::string("white");
    out_ += "\"/>\n";
  }
}

void Writer::Trace(const zu::draw::Trace& trace, const std::string& colour) {
  out_ += "<g class=\"path\" data-name=\"";
  out_ += EscapeXml(trace.name);
  out_ += "\" stroke=\"";
  out_ += EscapeXml(colour);
  out_ += "\" stroke-width=\"";
  Num(trace.stroke_px * k_);
  out_ += "\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
  std::string dash = " stroke-dasharray=\"";
  AppendNumber(dash, 6 * k_, decimals_);
  dash += ' ';
  AppendNumber(dash, 4 * k_, decimals_);
  dash += '"';
  for (const Move& move : trace.moves)
    MoveElement(move, dash.c_str());
  Axes(trace);
  Holes(trace);
  Marks(trace, colour);
  out_ += "</g>\n";
}

void Writer::Callouts() {
  for (const Callout& c : picture_.callouts) {
    const Flat a = Project(view_, c.low), b = Project(view_, c.high);
    const double cu = (a.u + b.u) / 2, cv = (a.v + b.v) / 2;
    const double r = std::max(std::hypot(a.u - b.u, a.v - b.v) / 2 + 6 * k_, 10 * k_);
    out_ += "<g class=\"callout\">\n<circle class=\"deviation\" cx=\"";
    Num(cu);
    out_ += "\" cy=\"";
    Num(-cv);
    out_ += "\" r=\"";
    Num(r);
    out_ += "\" fill=\"none\" stroke=\"#d00000\" stroke-width=\"";
    Num(1.6 * k_);
    out_ += "\"/>\n<text class=\"deviation-size\" x=\"";
    Num(cu + r * 0.75);
    out_ += "\" y=\"";
    Num(-cv - r * 0.75);
    out_ += "\" font-size=\"";
    Num(kFontPx * k_);
    out_ += "\" fill=\"#d00000\">";
    out_ += EscapeXml(c.label);
    out_ += "</text>\n</g>\n";
  }
}

void Writer::Legend(const std::vector<std::string>& colours) {
  const double x = kLeft + drawing_w_ + kGap;
  double y = kTop;
  out_ += "<g class=\"legend\">\n";
  const auto swatch = [&](const std::string& colour, const char* dash) {
    out_ += "<line x1=\"";
    Num(PxX(x));
    out_ += "\" y1=\"";
    Num(PxY(y - 4));
    out_ += "\" x2=\"";
    Num(PxX(x + 24));
    out_ += "\" y2=\"";
    Num(PxY(y - 4));
    out_ += "\" stroke=\"";
    out_ += EscapeXml(colour);
    out_ += "\" stroke-width=\"";
    Num(2 * k_);
    out_ += '"';
    if (*dash) {
      out_ += " stroke-dasharray=\"";
      Num(6 * k_);
      out_ += ' ';
      Num(4 * k_);
      out_ += '"';
    }
    out_ += "/>\n";
  };
  for (std::size_t t = 0; t < picture_.traces.size(); ++t) {
    swatch(colours[t], "");
    Text(x + 32, y, kFontPx, picture_.traces[t].name, "legend-name");
    y += kLegendLine;
  }
  y += kLegendLine / 2;
  const auto key = [&](const char* text) {
    Text(x + 32, y, kFontPx, text, "legend-key", " fill=\"#444\"");
    y += kLegendLine;
  };
  if (has_feeds_) {
    swatch("#666", "");
    key("feed");
  }
  if (has_rapids_) {
    swatch("#666", "dashed");
    key("rapid");
  }
  if (has_holes_)
    key("(+) hole, labelled with its depth in mm");
  if (has_axes_)
    key("short strokes: the tool's axis");
  if (has_mark_[0])
    key("filled triangle: compensation on");
  if (has_mark_[1])
    key("open triangle: compensation off");
  if (has_mark_[2])
    key("black dot: dwell");
  if (has_mark_[3])
    key("small dots: the path's points");
  for (const std::string& note : picture_.notes) {
    Text(x, y, kFontPx, note, "note", " fill=\"#444\"");
    y += kLegendLine;
  }
  out_ += "</g>\n";
}

// The box around the points, its size in space, and the scale bar.
void Writer::Frame() {
  out_ += "<rect class=\"box\" x=\"";
  Num(u_.low);
  out_ += "\" y=\"";
  Num(-v_.high);
  out_ += "\" width=\"";
  Num(u_.size());
  out_ += "\" height=\"";
  Num(v_.size());
  out_ += "\" fill=\"none\" stroke=\"#aaa\" stroke-width=\"";
  Num(0.8 * k_);
  out_ += "\" stroke-dasharray=\"";
  Num(2 * k_);
  out_ += ' ';
  Num(3 * k_);
  out_ += "\"/>\n<g fill=\"#444\">\n";
  const double base = kTop + drawing_h_;
  std::string size = "box: X " + Length(box_[0].low) + " to " + Length(box_[0].high) + ", Y " +
                     Length(box_[1].low) + " to " + Length(box_[1].high) + ", Z " +
                     Length(box_[2].low) + " to " + Length(box_[2].high) +
                     " mm; view: " + ViewName(options_.view);
  Text(kLeft, base + 22, kFontPx, size, "box-size");
  // The longest 1, 2 or 5 times a power of ten within a fifth of the
  // drawing's width.
  const double most = drawing_w_ * k_ / 5;
  double length = std::pow(10.0, std::floor(std::log10(most)));
  for (double f : {5.0, 2.0}) {
    if (length * f <= most) {
      length *= f;
      break;
    }
  }
  const double y = base + 46;
  out_ += "<g class=\"scale-bar\" data-length=\"";
  out_ += Length(length);
  out_ += "\">\n<path d=\"M";
  Num(PxX(kLeft));
  out_ += ' ';
  Num(PxY(y - 6));
  out_ += " v";
  Num(6 * k_);
  out_ += " h";
  Num(length);
  out_ += " v";
  Num(-6 * k_);
  out_ += "\" fill=\"none\" stroke=\"#222\" stroke-width=\"";
  Num(1.5 * k_);
  out_ += "\"/>\n";
  out_ += "</g>\n";
  Text(kLeft + length / k_ + 8, y, kFontPx, Length(length) + " mm", "scale-label");
  out_ += "</g>\n";
}

SvgDrawing Writer::Message(const std::string& message) {
  SvgDrawing result;
  result.problem = message;
  k_ = 1;
  decimals_ = 0;
  origin_x_ = origin_y_ = 0;
  out_.clear();
  Open(560, 90, 0, 0, 560, 90);
  Text(16, 32, kTitlePx, picture_.title, "title");
  Text(16, 62, kFontPx, message, "message", " fill=\"#a00\"");
  out_ += "</svg>\n";
  result.svg = std::move(out_);
  return result;
}

SvgDrawing Writer::Draw() {
  if (std::string problem = CheckNumbers(picture_); !problem.empty())
    return Message(problem);
  if (picture_.traces.empty())
    return Message("no paths to draw");
  Measure();
  if (u_.empty())
    return Message("the paths have no moves, holes or points to draw");
  Layout();
  std::size_t moves = 0;
  for (const zu::draw::Trace& trace : picture_.traces)
    moves += trace.moves.size();
  out_.reserve(4096 + moves * 100);
  Open(width_px_, height_px_, origin_x_, origin_y_, width_px_ * k_, height_px_ * k_);
  Text(kLeft, 28, kTitlePx, picture_.title, "title");
  Frame();
  std::vector<std::string> colours;
  for (std::size_t t = 0; t < picture_.traces.size(); ++t) {
    const std::string& own = picture_.traces[t].colour;
    colours.push_back(own.empty() ? kPalette[t % std::size(kPalette)] : own);
  }
  for (std::size_t t = 0; t < picture_.traces.size(); ++t)
    Trace(picture_.traces[t], colours[t]);
  Callouts();
  Legend(colours);
  out_ += "</svg>\n";
  SvgDrawing result;
  result.moves = moves_;
  result.svg = std::move(out_);
  return result;
}

}  // namespace

SvgDrawing DrawSvg(const Picture& picture, const DrawOptions& options) {
  return Writer(picture, options).Draw();
}

}  // namespace zu::draw
