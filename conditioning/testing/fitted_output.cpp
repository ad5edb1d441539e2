#include "conditioning/testing/fitted_output.h"

#include <cmath>
#include <span>
#include <sstream>

#include "pathfit/testing/fit_checker.h"
#include "postpath_file/file_model.h"
#include "postpath_file/file_reader.h"
#include "toolloc_file/file_model.h"
#include "toolloc_file/file_reader.h"

namespace zu::fitcheck {

namespace {

constexpr double kPi = 3.14159265358979323846;

template <typename V>
XYZ Point(const V& v) {
  return {v.x, v.y, v.z};
}

std::string Text(const char* what, int code) {
  return std::string(what) + std::to_string(code);
}

// The counter-clockwise angle about unit `n` from the start to the end, in
// (0, 2 pi].
double Sweep(const XYZ& centre, const XYZ& start, const XYZ& end, const XYZ& n) {
  const XYZ a{start.x - centre.x, start.y - centre.y, start.z - centre.z};
  const XYZ b{end.x - centre.x, end.y - centre.y, end.z - centre.z};
  const XYZ c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  double angle = std::atan2(c.x * n.x + c.y * n.y + c.z * n.z, a.x * b.x + a.y * b.y + a.z * b.z);
  if (angle <= 0)
    angle += 2 * kPi;
  return angle;
}

zu::pathfit::FitElement Element(const XYZ& start, const WrittenStep& step) {
  zu::pathfit::FitElement element;
  element.start = start;
  element.end = step.end;
  if (step.type == WrittenStep::Type::Arc) {
    element.kind = zu::pathfit::FitElement::Kind::Arc;
    const XYZ& n = step.normal;
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    element.normal = {n.x / length, n.y / length, n.z / length};
    element.centre = step.centre;
    element.radius =
        std::hypot(start.x - step.centre.x, start.y - step.centre.y, start.z - step.centre.z);
    element.sweep = Sweep(step.centre, start, step.end, element.normal);
  }
  return element;
}

bool IsMove(const WrittenStep& step) {
  return step.type != WrittenStep::Type::Other;
}

// Compares one path; `where` names it in problems.
void ComparePath(const WrittenPath& plain, const WrittenPath& optimised, double tolerance,
                 const std::string& where, FitComparison& result) {
  zu::pathfit::FitLimits limits;
  limits.tolerance = tolerance;
  auto problem = [&](const std::string& text) {
    if (result.problem.empty())
      result.problem = where + ": " + text;
  };
  std::size_t i = 0;
  std::size_t j = 0;
  bool have_position = false;
  XYZ at;
  while (i < plain.size() && j < optimised.size()) {
    if (plain[i] == optimised[j]) {
      if (IsMove(plain[i])) {
        at = plain[i].end;
        have_position = true;
      }
      ++i;
      ++j;
      continue;
    }
    // A fitted stretch: straight cuts on the plain side, the feed changing
    // or not, with nothing else between them ...
    std::size_t first_line = i;
    while (first_line < plain.size() && plain[first_line].feed_change)
      ++first_line;
    const std::string tag = first_line < plain.size() ? plain[first_line].tag : "";
    std::vector<XYZ> points{at};
    std::size_t end = i;
    for (std::size_t k = i; k < plain.size(); ++k) {
      if (plain[k].type == WrittenStep::Type::Line && plain[k].tag == tag) {
        points.push_back(plain[k].end);
        end = k + 1;
      } else if (!plain[k].feed_change) {
        break;
      }
    }
    if (!have_position || points.size() < 2) {
      std::ostringstream text;
      text << "block " << i << " differs and is no run of straight cuts";
      problem(text.str());
      return;
    }
    // ... and moves to the run's end on the other.
    std::vector<zu::pathfit::FitElement> elements;
    XYZ from = at;
    for (; j < optimised.size() && !(from == points.back() && !elements.empty()); ++j) {
      const WrittenStep& step = optimised[j];
      if (step.feed_change)
        continue;
      if (!IsMove(step) || step.tag != tag)
        break;
      elements.push_back(Element(from, step));
      result.fitted_arcs += step.type == WrittenStep::Type::Arc;
      from = step.end;
    }
    if (elements.empty() || !(from == points.back())) {
      std::ostringstream text;
      text << "the moves in place of blocks " << i << " to " << end - 1
           << " do not end where the run ends";
      problem(text.str());
      return;
    }
    const auto report = zu::pathfit::check::CheckFit(points, elements, limits);
    if (!report.ok()) {
      result.violations += report.violations();
      problem("blocks " + std::to_string(i) + " on: " + report.first_problem);
    }
    ++result.runs;
    at = points.back();
    i = end;
  }
  if (i != plain.size() || j != optimised.size())
    problem("the paths end differently");
}

}  // namespace

std::vector<WrittenPath> ToolLocationSteps(const std::string& bytes, std::string& error) {
  zu::ToolLocationFile file;
  zu::ToolLocationFileBuilder builder(file);
  const auto read = zu::ReadToolLocationFile(bytes, builder);
  if (!read.ok || !builder.complete()) {
    error = read.ok ? builder.error() : read.error;
    return {};
  }
  std::vector<WrittenPath> paths;
  for (const auto& path : file.paths) {
    WrittenPath& steps = paths.emplace_back();
    for (const zu::Block& block : path.blocks) {
      WrittenStep step;
      switch (block.type) {
        case zu::BlockType::Line:
          step.type = WrittenStep::Type::Line;
          step.end = Point(block.end);
          if (block.end_vector) {
            std::ostringstream axis;
            axis << block.end_vector->x << ',' << block.end_vector->y << ',' << block.end_vector->z;
            step.tag = axis.str();
          }
          break;
        case zu::BlockType::Arc:
          step.type = WrittenStep::Type::Arc;
          step.end = Point(block.end);
          step.centre = Point(block.centre);
          step.normal = Point(block.normal);
          break;
        case zu::BlockType::FeedType:
          step.tag = Text("feedtype ", block.code);
          step.feed_change = true;
          break;
        case zu::BlockType::Compensation:
          step.tag = Text("toolcmpflag ", block.code);
          break;
        case zu::BlockType::Dwell:
          step.tag = Text("dwellflag ", block.code);
          break;
      }
      steps.push_back(step);
    }
  }
  return paths;
}

std::vector<WrittenPath> PostPathSteps(const std::string& bytes, std::string& error) {
  zu::ppf::PostPathFile file;
  zu::ppf::PostPathFileBuilder builder(file);
  const auto read = zu::ppf::ReadPostPathFile(bytes, builder);
  if (!read.ok || !builder.complete()) {
    error = read.ok ? builder.error() : read.error;
    return {};
  }
  std::vector<WrittenPath> paths;
  for (const auto& path : file.paths) {
    WrittenPath& steps = paths.emplace_back();
    for (const zu::ppf::Block& block : path.blocks) {
      WrittenStep step;
      step.type =
          block.kind == zu::ppf::kBlockArc ? WrittenStep::Type::Arc : WrittenStep::Type::Line;
      step.end = Point(block.end);
      std::ostringstream tag;
      step.feed = block.feed_type;
      tag << "compensation " << block.compensation << " dwell " << block.dwell << " mark "
          << block.position_mark;
      if (step.type == WrittenStep::Type::Arc) {
        step.centre = Point(block.centre);
        step.normal = Point(block.vector);
      } else if (block.has_vector) {
        tag << " axis " << block.vector.x << ',' << block.vector.y << ',' << block.vector.z;
      }
      step.tag = tag.str();
      steps.push_back(step);
    }
  }
  return paths;
}

FitComparison CompareFittedPaths(const std::vector<WrittenPath>& plain,
                                 const std::vector<WrittenPath>& optimised, double tolerance) {
  FitComparison result;
  if (plain.size() != optimised.size()) {
    result.problem = "the files hold different numbers of paths";
    return result;
  }
  for (std::size_t p = 0; p < plain.size(); ++p) {
    ComparePath(plain[p], optimised[p], tolerance, "path " + std::to_string(p + 1), result);
    for (const WrittenStep& step : plain[p])
      result.plain_moves += IsMove(step);
    for (const WrittenStep& step : optimised[p])
      result.optimised_moves += IsMove(step);
  }
  return result;
}

}  // namespace zu::fitcheck
