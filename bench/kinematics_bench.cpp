// Five-axis machine kinematics on a generated path of a million tool poses:
// a tool sweeping a sphere with its axis along the surface normal, 4000
// passes along meridians each through the pole (the singular point of a
// table-table A/C machine), for a machine without tool-centre-point
// control: the inverse kinematics with the choice of solution, and the
// splitting of every move within the tip tolerance. Points per second of
// each, beside two baselines from the same run: the forward kinematics
// alone on the same points, and the three-axis code writer's blocks per
// second on a million straight moves. First checks what it times: no
// reposition, no spin at the poles, and the split motion sampled densely
// through the forward kinematics within the tolerance. Target: at least
// 1 M points/s with the splitting on.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "codewriter/code_writer.h"
#include "kinematics/kinematics.h"
#include "kinematics/linearise.h"
#include "kinematics/path_plan.h"
#include "machine/machine_reader.h"

namespace zu {
namespace {

// Points 0.56 mm apart along each pass: the trunnion's turn between two of
// them bends the tip by about twice the tolerance, so most moves are split.
constexpr int kPasses = 4000;
constexpr int kPointsPerPass = 250;
constexpr double kRadius = 50;       // mm
const kin::Vec3 kCentre{60, 30, 0};  // off the C axis
constexpr double kDegrees = std::numbers::pi / 180;

// A trunnion table machine like LinuxCNC's xyzac-trt: A tilts the cradle,
// C turns the table on it.
kin::MachineLayout Machine() {
  kin::MachineLayout layout;
  layout.layout = kin::Layout::kTableTable;
  layout.primary = {'C', {0, 0, 1}, false, {0, 0, 0}, -99999, 99999, true, 0};
  layout.secondary = {'A', {1, 0, 0}, false, {0, 0, -80}, -120, 120, false, 0};
  layout.linearise_tolerance = 0.001;
  layout.linearise_axis_degrees = 0.01;
  return layout;
}

// Each pass runs along a meridian from 80 degrees one side of the pole to
// 80 the other side, through the pole itself; the next pass, a little
// further round, comes back.
std::vector<kin::ToolPose> Sphere() {
  std::vector<kin::ToolPose> poses;
  poses.reserve(std::size_t{kPasses} * kPointsPerPass);
  for (int p = 0; p < kPasses; ++p) {
    const double azimuth = 180.0 * p / kPasses * kDegrees;
    for (int j = 0; j < kPointsPerPass; ++j) {
      const int k = p % 2 == 0 ? j : kPointsPerPass - j;
      const double polar = (-80 + 160.0 * k / kPointsPerPass) * kDegrees;
      const kin::Vec3 n{std::sin(polar) * std::cos(azimuth), std::sin(polar) * std::sin(azimuth),
                        std::cos(polar)};
      poses.push_back({kCentre + kRadius * n, n});
    }
  }
  return poses;
}

double DistanceToSegment(kin::Vec3 p, kin::Vec3 a, kin::Vec3 b) {
  const kin::Vec3 ab = b - a;
  const double t = std::clamp(kin::Dot(p - a, ab) / std::max(kin::Dot(ab, ab), 1e-300), 0.0, 1.0);
  return kin::Length(p - (a + t * ab));
}

// Plans and splits the whole path; returns the positions written.
std::size_t PlanAndSplit(const kin::Kinematics& kinematics, const std::vector<kin::ToolPose>& poses,
                         std::vector<kin::MachinePosition>& out, bool* within = nullptr) {
  const kin::PathPlan plan = kin::PlanPath(kinematics, poses);
  out.clear();
  out.push_back(plan.positions[0]);
  for (std::size_t i = 1; i < plan.positions.size(); ++i) {
    const kin::LinearisedMove move = kin::Linearise(kinematics, poses[i - 1], poses[i],
                                                    plan.positions[i - 1], plan.positions[i], out);
    if (within != nullptr && !move.within)
      *within = false;
    out.push_back(plan.positions[i]);
  }
  return out.size();
}

// The three-axis code writer's load: one path of a million straight moves.
cut::Program ThreeAxisProgram() {
  cut::Program program;
  program.tools.push_back({1, "D10", 10, 0});
  cut::Path path;
  path.name = "spiral";
  path.spindle = 3000;
  path.home = cut::Vec{50, 0, 5};
  path.safe_height = 50;
  for (int k = 0; k < kPasses * kPointsPerPass; ++k) {
    cut::Step step;
    step.end = {50 * std::cos(k * 0.001) * (1 - 1e-7 * k), 50 * std::sin(k * 0.001), -1};
    step.feed = 800;
    path.steps.push_back(step);
  }
  program.paths.push_back(std::move(path));
  return program;
}

int Main(int argc, char** argv) {
  const kin::MachineLayout layout = Machine();
  if (const std::string fault = kin::CheckLayout(layout); !fault.empty()) {
    std::printf("the bench's machine is refused: %s\n", fault.c_str());
    return 1;
  }
  const kin::Kinematics kinematics(layout);
  const std::vector<kin::ToolPose> poses = Sphere();

  // What is timed, checked once.
  const kin::PathPlan plan = kin::PlanPath(kinematics, poses);
  if (!plan.error.empty() || !plan.repositions.empty()) {
    std::printf("the sphere cannot be followed: %s (%zu repositions)\n", plan.error.c_str(),
                plan.repositions.size());
    return 1;
  }
  double largest_turn = 0;
  for (std::size_t i = 1; i < plan.positions.size(); ++i)
    largest_turn = std::max(largest_turn,
                            std::fabs(plan.positions[i].primary - plan.positions[i - 1].primary));
  std::vector<kin::MachinePosition> split;
  bool within = true;
  PlanAndSplit(kinematics, poses, split, &within);
  // Each move split again on its own, its motion sampled 16 times per piece
  // through the forward kinematics against the move's straight line.
  double worst_tip = 0;
  std::vector<kin::MachinePosition> chain;
  for (std::size_t i = 1; i < poses.size(); ++i) {
    chain.assign(1, plan.positions[i - 1]);
    (void)kin::Linearise(kinematics, poses[i - 1], poses[i], plan.positions[i - 1],
                         plan.positions[i], chain);
    chain.push_back(plan.positions[i]);
    for (std::size_t piece = 0; piece + 1 < chain.size(); ++piece)
      for (int k = 1; k < 16; ++k) {
        const kin::ToolPose at =
            kinematics.Forward(kin::Between(chain[piece], chain[piece + 1], k / 16.0));
        worst_tip = std::max(worst_tip, DistanceToSegment(at.tip, poses[i - 1].tip, poses[i].tip));
      }
  }
  std::printf(
      "sphere: %zu poses in %d passes through the pole; %zu machine positions after splitting "
      "(%.3f per move); largest turn of C between neighbours %.4f deg (no spin at the poles); "
      "largest tip deviation %.7f mm (tolerance %.3f)%s\n",
      poses.size(), kPasses, split.size(),
      static_cast<double>(split.size() - 1) / static_cast<double>(poses.size() - 1), largest_turn,
      worst_tip, layout.linearise_tolerance, within ? "" : "; a move could not be split");
  if (!within || worst_tip > layout.linearise_tolerance || largest_turn > 0.5)
    return 1;

  const std::string folder = std::string(ZU_SOURCE_DIR) + "/postmodule/ncsystems/";
  const machine::MachineReadResult fanuc = machine::ReadMachineConfig(folder + "FANUC-0i.mcf");
  if (!fanuc.config) {
    std::printf("cannot load FANUC-0i: %s\n", fanuc.error.c_str());
    return 1;
  }
  const cut::Program program = ThreeAxisProgram();
  std::string code;
  const codewriter::WriteResult written =
      codewriter::WriteProgram(program, *fanuc.config, {"NC0001"}, code);
  if (!written.ok()) {
    std::printf("the three-axis program is refused: %s\n", written.error.c_str());
    return 1;
  }

  std::vector<kin::MachinePosition> out;
  out.reserve(split.size());
  const std::vector<bench::Timed> bodies = {
      {"forward kinematics (baseline)", poses.size(),
       [&] {
         double sum = 0;
         for (const kin::MachinePosition& m : plan.positions)
           sum += kinematics.Forward(m).tip.z;
         return static_cast<std::size_t>(sum != 0);
       }},
      {"three-axis code writer (baseline)", written.blocks,
       [&] {
         std::string text;
         return codewriter::WriteProgram(program, *fanuc.config, {"NC0001"}, text).blocks;
       }},
      {"inverse kinematics", poses.size(),
       [&] { return kin::PlanPath(kinematics, poses).positions.size(); }},
      {"inverse kinematics and splitting", poses.size(),
       [&] { return PlanAndSplit(kinematics, poses, out); }},
  };
  const std::vector<double> ns = bench::TimeEach(argc, argv, bodies, bench::Clock::kProcessor);
  const double forward = 1e3 / ns[0], writer = 1e3 / ns[1], inverse = 1e3 / ns[2],
               split_rate = 1e3 / ns[3];
  std::printf(
      "kinematics: inverse and splitting %.2f M points/s, inverse alone %.2f M points/s, forward "
      "alone %.2f M points/s (splitting on takes %.1f times the forward time per point); "
      "three-axis code writer %.2f M blocks/s (%s)\n",
      split_rate, inverse, forward, ns[3] / ns[0], writer, bench::HarnessName());
  std::printf("kinematics: %s the 1 M points/s target with splitting on\n",
              split_rate >= 1 ? "meets" : "MISSES");
  return 0;
}

}  // namespace
}  // namespace zu

int main(int argc, char** argv) {
  return zu::Main(argc, argv);
}
