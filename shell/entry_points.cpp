#include "shell/entry_points.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/message_box.h"
#include "host/path_model.h"
#include "host/path_optimizer.h"
#include "host/services.h"
#include "postpath/post_path_output.h"
#include "readback/read_back_code.h"
#include "readback/verify_code_dlg.h"
#include "shell/command_guard.h"
#include "environment/code_file_search.h"
#include "environment/path_tests.h"
#include "environment/post_module.h"
#include "environment/post_settings.h"
#include "environment/settings_path.h"
#include "toolloc/pick_dump.h"
#include "toolloc/text_road.h"
#include "ui/code_view_dlg.h"
#include "ui/nc_system_dlg.h"
#include "ui/post_code_choice.h"
#include "ui/post_set_dlg.h"

namespace {

using zu::PostSettings;

constexpr std::size_t kToolLocationPathSize = 1024;

int PostToCode(zu::TextArray* code_files);

void LoadCommandSettings() {
  PostSettings.FilePath = zu::SettingsFilePath;
  zu::LoadSettings();
}

// Copies `text` into a fixed buffer, cut to fit.
template <std::size_t N>
void CopyInto(char (&buffer)[N], const char* text) {
  std::snprintf(buffer, N, "%s", text);
}

// Whether a picked path has no moves to post.
bool HasNoRows(const PickNode& node) {
  const auto* path = static_cast<const OrvoPath*>(node.object);
  if (!path)
    return true;
  return path->MultiAxisKind == kFiveAxis ? path->rows5 == nullptr : path->rows == nullptr;
}

// Ends the command after picking without posting anything.
void EndWithoutPosting(bool end_command) {
  HostSetPickState(kPickStateNone, 0, 0);
  HostShowPromptId(kPromptCommandEnded);
  if (end_command)
    HostEndCommand();
}

// The optimiser the registry's "Kvt" selects: 0 unless it holds a number.
int OptimizerSelector() {
  zu::Text value = "0";
  zu::ReadPostRegValue("Kvt", value);
  return std::atoi(value.c_str());
}

// Ends a command after its picking, posted or not: the pick state is reset
// and the picking ended, so that the host does not stay in it.
int EndAfterPicking(int result = 0) {
  HostSetPickState(kPickStateNone, 0, 0);
  HostEndPick();
  HostClearPick();
  HostEndCommand();
  return result;
}

// How every command ends when its body throws: a stop message, then the
// command ended as after its picking.
const zu::CommandFailure kCommandFailure{
    [](const std::string& message) { zu::ShowMessage(message.c_str(), zu::MessageIcon::Stop); },
    [] { EndAfterPicking(); }};

// Whether a modal dialog's run ended in OK. Any result but OK and Cancel
// means that the dialog could not be shown at all (no display, a missing
// resource): nothing was confirmed, so it counts as Cancel, and the prompt
// line (the host's console) says why the command went no further.
bool Confirmed(INT_PTR result) {
  if (result != IDOK && result != IDCANCEL)
    HostShowPrompt("对话框无法显示，命令没有执行。");
  return result == IDOK;
}

// Ends a command whose first dialog was not confirmed: a Cancel clears the
// prompt line, a dialog not shown leaves Confirmed's words on it. Returns 0.
int EndUnconfirmed(INT_PTR result) {
  if (result == IDCANCEL)
    HostShowPrompt("");
  HostEndCommand();
  return 0;
}

// The common tail of both modes: the viewer, the process file and the post
// processor. A post processor that cannot be started has been reported in a
// message box; the command then ends as after a start, so that the host does
// not stay in its picking state with the command open.
int Launch(const std::string& prefix, const char* tool_location_file) {
  HostShowPrompt("生成代码文件...");
  if (PostSettings.ExeFileName.IsEmpty() || zu::FileMissing(PostSettings.ExeFileName.c_str())) {
    PostSettings.ExeFileName = zu::DefaultViewer();
  }
  if (zu::LaunchPostProcessor(prefix, tool_location_file) == zu::Launch::NoProcessFile)
    return 0;
  return EndAfterPicking();
}

// First call: the dialog, then the launch (mode 1) or path picking (mode 0).
int FirstCall(const std::string& prefix) {
  HostShowPrompt("进行后置处理");
  const zu::PostCodeChoice choice = zu::RunPostCodeDialog();
  // A dialog that could not be shown is no confirmation: the command ends
  // as on Cancel instead of picking for an empty code-file name.
  if (!Confirmed(choice.result))
    return EndUnconfirmed(choice.result);
  CopyInto(zu::PostCodeName, choice.code_file.c_str());
  if (choice.mode == 1) {
    const std::string prompt = "拾取了刀位文件 " + choice.tool_location_file.str();
    HostShowPrompt(prompt.c_str());
    char tool_location[kToolLocationPathSize] = {};
    CopyInto(tool_location, choice.tool_location_file.c_str());
    return Launch(prefix, tool_location);
  }
  HostSetPickState(kPickStatePaths, 0, 0);
  HostBeginPick(kPickToolPaths);
  HostShowPromptId(HostHasPicked() ? kPromptPickMore : kPromptPickPaths);
  return 1;
}

// The message of a post command that has no picked path to post.
constexpr const char* kNothingPicked = "请先拾取轨迹才能进行后置代码。";

// Takes the picked list from the host into `first`. False when the command
// has ended instead: picking cancelled or without a list, or a picked path
// without moves (refused with the host's message). A post hook's pick dump
// file, when `dump` is set and the hook names one, gets the list first.
bool TakePickedPaths(PickNode*& first, bool dump) {
  const int status = HostGetPicked(first);
  if (status == kPickNoList) {
    EndWithoutPosting(false);
    return false;
  }
  if (status == kPickCancelled || status == kPickAborted) {
    EndWithoutPosting(true);
    return false;
  }
  if (PostHook* hook = HostGetPostHook(); hook && dump) {
    zu::Text file;
    hook->GetPickDumpFile(file);
    if (!file.IsEmpty())
      zu::AppendPickDump(file.c_str(), first);
  }
  for (const PickNode* node = first; node; node = node->next) {
    if ((node->kind == kPickKindPath || node->kind == kPickKindFiveAxisPath) && HasNoRows(*node)) {
      HostShowMessageId(kMessagePathWithoutMoves);
      HostClearPick();
      EndWithoutPosting(true);
      return false;
    }
  }
  return true;
}

// Second call: the picked paths to a tool-location file, then the launch.
int SecondCall(const std::string& prefix) {
  PickNode* first = nullptr;
  if (!TakePickedPaths(first, false))
    return 0;
  if (!first) {
    zu::ShowMessage(kNothingPicked);
    return EndAfterPicking();
  }
  HostShowPrompt("生成刀位文件...");
  char tool_location[kToolLocationPathSize] = {};
  if (PostSettings.LeavePmf) {
    CopyInto(tool_location, zu::ToolLocationBesideCode(PostSettings.CodePathName.str()).c_str());
  } else {
    zu::Text work;
    HostGetWorkFolder(work);
    const std::string temp = work.str() + "\\temp";
    HostMakeFolder(temp.c_str(), 1);
    CopyInto(tool_location, (temp + "\\zucl.pmf").c_str());
  }
  PathOptSetMaxArcRadius(PostSettings.MaxArcRadius);
  PathOptSetMinArcRadius(PostSettings.MinArcRadius);
  PathOptSetMinSectionLine(PostSettings.MinSectionLine);
  zu::MainRoadOptions options;
  options.use_jig_coord = PostSettings.UseJigCoord;
  options.fix_mill_mode = PostSettings.FixMillMode;
  options.jig_tool_axis = PostSettings.JigToolAxis;
  options.jig_tool_up_height = PostSettings.JigToolUpHeight;
  options.jig_tolerance = PostSettings.JigTolerance;
  options.optimize = PostSettings.OptimizePath;
  options.tolerance = PostSettings.OptimizeTol;
  options.optimizer_selector = OptimizerSelector();
  options.show_message = [](const char* text) { zu::ShowMessage(text); };
  if (const zu::PostPathResult written =
          zu::WritePostPathFile(first, zu::PostCodeName, tool_location, options);
      !written.ok) {
    // A post processor started on a missing or stale file would give code
    // for other paths, or none: nothing is started.
    const std::string message =
        std::string("无法生成刀位文件，没有生成代码：\n") + tool_location + "\n" + written.error;
    zu::ShowMessage(message.c_str(), zu::MessageIcon::Stop);
    return EndAfterPicking();
  }
  return Launch(prefix, tool_location);
}

int GeneratePostCode(int* call_state) {
  if (PostHook* hook = HostGetPostHook(); hook && hook->IsCodeFileListWanted()) {
    zu::TextArray code_files;
    PostToCode(&code_files);
    hook->TakeCodeFiles(&code_files);
    return 0;
  }
  zu::Text module;
  zu::FindPostRegValue("PostModule", module);
  const std::string prefix = module.str() + "\\ORVOPost.exe ";
  LoadCommandSettings();
  const int state = call_state ? *call_state : -1;
  if (state == 0)
    return FirstCall(prefix);
  if (state == 1)
    return SecondCall(prefix);
  return 1;
}

int PostSettingsCommand() {
  LoadCommandSettings();
  zu::CPostSetDlg dialog;
  dialog.viewer = PostSettings.ExeFileName;
  dialog.optimize_path = PostSettings.OptimizePath;
  dialog.optimize_tol = PostSettings.OptimizeTol;
  dialog.min_section_line = PostSettings.MinSectionLine;
  dialog.max_arc_radius = PostSettings.MaxArcRadius;
  dialog.min_arc_radius = PostSettings.MinArcRadius;
  if (Confirmed(dialog.DoModal())) {
    PostSettings.ExeFileName = dialog.viewer;
    PostSettings.OptimizePath = dialog.optimize_path;
    PostSettings.OptimizeTol = dialog.optimize_tol;
    PostSettings.MinSectionLine = dialog.min_section_line;
    PostSettings.MaxArcRadius = dialog.max_arc_radius;
    PostSettings.MinArcRadius = dialog.min_arc_radius;
  }
  zu::SaveSettings();
  HostEndCommand();
  return 0;
}

int EditMachineConfig() {
  HostShowPrompt("设置机床配置文件");
  LoadCommandSettings();
  zu::Text module;
  zu::FindPostRegValue("PostModule", module);
  const std::string command = zu::EditorCommand(module.str(), PostSettings.McfFolder.str());
  if (zu::StartProgram(command, zu::ProgramStart{SW_HIDE}))
    HostEndCommand();
  return 0;
}

// The NC system's description: the .xml beside its .mcf file.
std::string DescriptionPath(const zu::CVerifyCodeDlg& dialog) {
  return dialog.SystemFolder.str() + "\\" + dialog.NcSystem.str() + ".xml";
}

int VerifyCode() {
  HostClearPick();
  HostShowPromptId(kPromptReadBackStarts);
  LoadCommandSettings();
  zu::CVerifyCodeDlg dialog;
  dialog.CheckFile = 1;
  if (Confirmed(dialog.DoModal())) {
    HostShowPrompt("代码反读数据处理...");
    zu::ReadBackCode(dialog.CodeFile.c_str(), DescriptionPath(dialog).c_str());
  }
  HostShowPromptId(kPromptCommandEnded);
  HostEndCommand();
  return 1;
}

// Entry point 5 writes its tool-location file here, every run anew.
constexpr const char* kTextRoadToolLocationFile = "C:\\zu.pmf";

// Removes the folder made for a code file when the run ends, if nothing was
// written into it (a folder with files is not removed).
class MadeFolder {
 public:
  explicit MadeFolder(const zu::Text& folder) : folder_(folder) {}
  MadeFolder(const MadeFolder&) = delete;
  MadeFolder& operator=(const MadeFolder&) = delete;
  ~MadeFolder() {
    if (!folder_.IsEmpty())
      RemoveDirectoryA(folder_.c_str());
  }

 private:
  zu::Text folder_;
};

int PostToCode(zu::TextArray* code_files) {
  zu::Text module;
  zu::FindPostRegValue("PostModule", module);
  HostShowPrompt("进行后置处理");
  // The settings are read as every command reads them: the fixture options
  // must not depend on which command ran before in this process.
  LoadCommandSettings();

  zu::CNcSystemDlg dialog;
  if (const INT_PTR result = dialog.DoModal(); !Confirmed(result))
    return EndUnconfirmed(result);
  const MadeFolder made_folder(dialog.made_folder);

  HostSetPickState(kPickStatePaths, 0, 0);
  HostBeginPick(kPickToolPaths);
  if (!HostHasPicked()) {
    zu::ShowMessage(kNothingPicked);
    HostShowPromptId(kPromptCommandEnded);
    HostSetPickState(kPickStateNone, 0, 0);
    HostEndPick();
    HostEndCommand();
    return 0;
  }
  PickNode* first = nullptr;
  if (!TakePickedPaths(first, true))
    return 0;
  if (!first) {
    zu::ShowMessage(kNothingPicked);
    return EndAfterPicking(0);
  }

  zu::Text post_path;
  zu::FindPostRegValue("PostPath", post_path);
  HostShowPrompt("生成刀位文件...");
  zu::TextRoadOptions options;
  options.code_file = dialog.code_path.str();
  // The machine section names the NC system chosen in the dialog, the one the
  // post processor is started for.
  options.mcf_path = post_path.str() + "\\" + dialog.nc_system.str() + ".mcf";
  options.use_jig_coord = PostSettings.UseJigCoord;
  options.jig_tool_axis = PostSettings.JigToolAxis;
  options.jig_tool_up_height = PostSettings.JigToolUpHeight;
  options.optimize = 0;
  options.tolerance = 0.001;
  options.optimizer_selector = OptimizerSelector();
  if (const zu::WriteResult written =
          zu::WriteToolLocationFile(first, options, kTextRoadToolLocationFile);
      !written.ok) {
    // Posting a tool-location file left from an earlier run would give code
    // for other paths: nothing is started.
    const std::string message = std::string("无法生成刀位文件，没有生成代码：\n") +
                                kTextRoadToolLocationFile + "\n" + written.error;
    zu::ShowMessage(message.c_str(), zu::MessageIcon::Stop);
    return EndAfterPicking(0);
  }

  HostShowPrompt("生成代码文件...");
  const std::string command =
      zu::TextRoadCommand(module.str(), kTextRoadToolLocationFile, post_path.str(),
                          dialog.nc_system.str(), dialog.code_path.str());
  // Code files older than this run are not its own (a post hook's folder
  // may hold earlier ones of the same name).
  const std::uint64_t started = zu::FileTimeNow();
  const zu::ProgramRun run = zu::RunProgram(command, zu::ProgramStart{SW_SHOWNORMAL});
  if (!run.started)
    return EndAfterPicking(0);  // reported in a message box
  if (run.exit_code != 0) {
    // Whatever files match the name were not made by this run: none is
    // handed over or shown.
    zu::Text message;
    message.Format("后置处理程序运行失败（退出码 %lu），没有生成代码文件：\n%s", run.exit_code,
                   dialog.code_path.c_str());
    zu::ShowMessage(message.c_str(), zu::MessageIcon::Stop);
    return EndAfterPicking(0);
  }

  if (code_files) {
    for (const std::string& file : zu::FindCodeFiles(dialog.code_path.str(), started))
      code_files->Add(file);
  }
  zu::CCodeViewDlg view;
  view.current_file = dialog.code_path;
  if (code_files)
    view.files = *code_files;
  Confirmed(view.DoModal());
  return EndAfterPicking(1);
}

int ReadBackCodeCommand(const char* code_file) {
  try {
    HostClearPick();
    HostShowPromptId(kPromptReadBackStarts);
    zu::Text folder;
    zu::FindPostRegValue("PostPath", folder);
    zu::CVerifyCodeDlg dialog;
    dialog.SystemFolder = folder;
    dialog.CheckFile = 0;
    if (Confirmed(dialog.DoModal())) {
      HostShowPrompt("代码反读数据处理...");
      zu::ReadBackCode(code_file ? code_file : "", DescriptionPath(dialog).c_str());
    }
    HostShowPromptId(kPromptCommandEnded);
    HostEndCommand();
    return 1;
  } catch (...) {
    HostShowPrompt("代码反读失败");
    HostEndCommand();
    return 0;
  }
}

}  // namespace

int CmdGeneratePostCode(int* call_state) {
  return zu::RunGuarded([&] { return GeneratePostCode(call_state); }, kCommandFailure, 0);
}

int CmdPostSettings() {
  return zu::RunGuarded([] { return PostSettingsCommand(); }, kCommandFailure, 0);
}

int CmdEditMachineConfig() {
  return zu::RunGuarded([] { return EditMachineConfig(); }, kCommandFailure, 0);
}

int CmdVerifyCode() {
  return zu::RunGuarded([] { return VerifyCode(); }, kCommandFailure, 0);
}

int CmdPostToCode(zu::TextArray* code_files) {
  return zu::RunGuarded([&] { return PostToCode(code_files); }, kCommandFailure, 0);
}

int CmdReadBackCode(const char* code_file) {
  return zu::RunGuarded([&] { return ReadBackCodeCommand(code_file); }, kCommandFailure, 0);
}
