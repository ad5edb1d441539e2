#include "verification/check_report.h"

#include "verification/internal/text.h"

namespace zu::verify {
namespace {

using internal::Number;
using internal::Point;

void Line(std::string& out, std::string_view text) {
  out += text;
  out += "\r\n";
}

std::string Where(const Place& place) {
  std::string out;
  if (!place.path.empty())
    out += "path \"" + place.path + "\" ";
  if (place.index >= 0)
    out += (place.hole ? "hole " : "move ") + std::to_string(place.index + 1) + " ";
  return out + "at " + Point(place.point);
}

}  // namespace

std::string CheckReport(const VerifyResult& result, const CheckFiles& files) {
  std::string out;
  Line(out, std::string("Verification: ") + (result.ok ? "PASS" : "FAIL"));
  if (!files.code.empty())
    Line(out, "Code file: " + std::string(files.code));
  if (!files.tool_location.empty())
    Line(out, "Compared with: " + std::string(files.tool_location));
  Line(out, "Tolerance: " + Number(result.tolerance) + " mm");
  std::string paths = "Paths: " + std::to_string(result.paths) + " compared";
  if (result.paths_refused > 0)
    paths += ", " + std::to_string(result.paths_refused) + " not written (refused)";
  Line(out, paths);
  Line(out, "Moves: " + std::to_string(result.moves_compared) + " feed moves and arcs compared (" +
                std::to_string(result.moves_read) + " read back)");
  Line(out, "Rapid move ends compared: " + std::to_string(result.rapids_compared));
  Line(out, "Holes: " + std::to_string(result.holes_compared) + " compared (" +
                std::to_string(result.holes_read) + " read back)");
  Line(out, "Lines read: " + std::to_string(result.lines_read));
  std::string deviation = "Largest deviation: " + Number(result.largest_deviation) + " mm";
  if (result.largest_deviation > 0)
    deviation += ", " + Where(result.deviation_at);
  Line(out, deviation);
  if (result.axes_compared > 0) {
    std::string axes = "Tool axes: " + std::to_string(result.axes_compared) +
                       " compared, largest deviation " + Number(result.largest_axis_deviation) +
                       " degrees (tolerance " + Number(result.axis_tolerance_degrees) + ")";
    if (result.largest_axis_deviation > 0)
      axes += ", " + Where(result.axis_deviation_at);
    Line(out, axes);
    if (result.rotary_turn_axis != 0)
      Line(out,
           "Largest turn of a rotary axis in one feed move: " + Number(result.largest_rotary_turn) +
               " degrees (" + std::string(1, result.rotary_turn_axis) + ")");
  }
  Line(out, "Mismatches: " + std::to_string(result.mismatch_count));
  for (const Mismatch& mismatch : result.mismatches) {
    const bool placed = !mismatch.where.path.empty() || mismatch.where.index >= 0;
    Line(out, "  " + (placed ? Where(mismatch.where) + ": " : std::string()) + mismatch.text);
  }
  if (result.mismatch_count > result.mismatches.size())
    Line(out,
         "  and " + std::to_string(result.mismatch_count - result.mismatches.size()) + " more");
  if (!result.notes.empty()) {
    Line(out, "What the machine could not do, and how it was written:");
    for (const std::string& note : result.notes)
      Line(out, "  " + note);
  }
  return out;
}

}  // namespace zu::verify
