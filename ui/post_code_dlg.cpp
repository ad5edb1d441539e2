#include "ui/post_code_dlg.h"

#include <cstdlib>

#include "framework/file_dialog.h"
#include "framework/message_box.h"
#include "environment/path_tests.h"
#include "environment/post_module.h"
#include "environment/post_settings.h"
#include "ui/code_file_naming.h"
#include "ui/orient_option_dlg.h"
#include "ui/resource_ids.h"

namespace zu {

void FillMcfList(ListView& list, const Text& folder) {
  list.DeleteAll();
  std::string pattern = folder.str();
  if (pattern.empty() || pattern.back() != '\\')
    pattern += '\\';
  pattern += "*.mcf";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return;
  do {
    list.AddItem(McfListName(found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

CPostCodeDlg::CPostCodeDlg(HWND parent)
    : ModalDialog(IDD_POST_CODE, parent),
      nc_system(PostSettings.CurrentMcf),
      tool_location_file(PostSettings.PmfPathName),
      keep_tool_location(PostSettings.LeavePmf),
      mode(PostSettings.PickPath),
      naming_rule(PostSettings.FileNameSuffix),
      shown_serial(PostSettings.FileNameID + 1),
      mcf_folder(PostSettings.McfFolder),
      serial(PostSettings.FileNameID + 1) {
  if (!PostSettings.CodePathName.IsEmpty()) {
    code_file = BuildCodeFileName(PostSettings.CodePathName.str(), naming_rule.str(), serial,
                                  PostSettings.UseCurrentGName);
  }
}

bool CPostCodeDlg::OnInitDialog() {
  systems_.Attach(Item(IDC_NC_SYSTEMS));
  systems_.SetUpSingleColumn("选择数控系统", 180);
  FillMcfList(systems_, mcf_folder);
  if (!nc_system.IsEmpty()) {
    // The current system (first exact match) is marked as the hot item, and
    // selected and scrolled into view so that the person sees it.
    const int item = systems_.FindItem(nc_system.c_str());
    if (item >= 0) {
      systems_.SetHotItem(item);
      systems_.Select(item);
      systems_.EnsureVisible(item);
    }
    marked_system = systems_.HotItem();
    selected_system = systems_.SelectedItem();
    const int top = systems_.TopIndex();
    selected_in_view = selected_system >= top && selected_system < top + systems_.CountPerPage();
  } else {
    nc_system = systems_.Count() > 0 ? systems_.ItemText(0) : Text();
  }
  return ModalDialog::OnInitDialog();
}

void CPostCodeDlg::DoDataExchange(DataExchange& dx) {
  ExchangeText(dx, IDC_NC_SYSTEM, nc_system);
  ExchangeText(dx, IDC_TOOL_LOCATION, tool_location_file);
  ExchangeCheck(dx, IDC_KEEP_TOOL_LOCATION, keep_tool_location);
  ExchangeRadio(dx, IDC_MODE_PICK_PATHS, mode);
  ExchangeText(dx, IDC_CODE_FILE, code_file);
  ExchangeText(dx, IDC_NAMING_RULE, naming_rule);
  ExchangeInt(dx, IDC_SERIAL, shown_serial);
  // Every exchange ends with the tool-location controls following the mode.
  EnableWindow(Item(IDC_BROWSE_TOOL_LOCATION), mode == 1);
  EnableWindow(Item(IDC_TOOL_LOCATION), mode == 1);
}

void CPostCodeDlg::Rename() {
  char text[4096] = {};
  GetDlgItemTextA(hwnd(), IDC_CODE_FILE, text, sizeof text);
  code_file = text;
  GetDlgItemTextA(hwnd(), IDC_NAMING_RULE, text, sizeof text);
  naming_rule = text;
  code_file =
      BuildCodeFileName(code_file.str(), naming_rule.str(), serial, PostSettings.UseCurrentGName);
  SetDlgItemTextA(hwnd(), IDC_CODE_FILE, code_file.c_str());
}

bool CPostCodeDlg::OnCommand(int id, int code) {
  if (id == IDC_NAMING_RULE && code == EN_CHANGE) {
    Rename();
    return true;
  }
  if (id == IDC_SERIAL && code == EN_CHANGE) {
    char text[64] = {};
    GetDlgItemTextA(hwnd(), IDC_SERIAL, text, sizeof text);
    serial = shown_serial = std::atoi(text);
    Rename();
    return true;
  }
  if (code != BN_CLICKED)
    return false;
  switch (id) {
    case IDC_MODE_PICK_PATHS:
    case IDC_MODE_TOOL_LOCATION:
      UpdateData(true);
      return true;
    case IDC_BROWSE_CODE:
      BrowseCodeFile();
      return true;
    case IDC_BROWSE_TOOL_LOCATION:
      BrowseToolLocationFile();
      return true;
    case IDC_ORIENT_OPTIONS: {
      COrientOptionDlg options(hwnd());
      options.DoModal();
      return true;
    }
    default:
      return false;
  }
}

bool TakeClickedNcSystem(const NMHDR& header, const ListView& list, Text& nc_system, HWND dialog,
                         int shown_id) {
  const int item = ListView::ClickedItem(header);
  if (item < 0)
    return false;  // a click beside the items keeps the system
  nc_system = list.ItemText(item);
  SetDlgItemTextA(dialog, shown_id, nc_system.c_str());
  return header.code == NM_DBLCLK;
}

bool CPostCodeDlg::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom != IDC_NC_SYSTEMS || (header.code != NM_CLICK && header.code != NM_DBLCLK)) {
    return false;
  }
  if (TakeClickedNcSystem(header, systems_, nc_system, hwnd(), IDC_NC_SYSTEM))
    OnOK();
  return true;
}

void CPostCodeDlg::BrowseCodeFile() {
  FileDialogOptions options;
  options.save = true;
  options.default_extension = "cut";
  options.filter = "cut Files (*.cut)|*.cut|txt Files (*.txt)|*.txt|All Files (*.*)|*.*||";
  options.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT;
  if (const int slash = code_file.ReverseFind('\\'); slash >= 0) {
    options.initial_folder = code_file.Left(static_cast<std::size_t>(slash) + 1);
  }
  if (auto chosen = RunFileDialog(options, hwnd())) {
    code_file = *chosen;
    UpdateData(false);
  }
}

void CPostCodeDlg::BrowseToolLocationFile() {
  FileDialogOptions options;
  options.default_extension = "pmf";
  options.filter = "PMF Files (*.pmf)|*.pmf||";
  options.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  if (const int slash = tool_location_file.ReverseFind('\\'); slash >= 0) {
    options.initial_folder = tool_location_file.Left(static_cast<std::size_t>(slash) + 1);
  }
  if (auto chosen = RunFileDialog(options, hwnd())) {
    tool_location_file = *chosen;
    UpdateData(false);
  }
}

std::string CPostCodeDlg::FirstFailingCheck() const {
  if (code_file.IsEmpty())
    return "代码文件名不能空！";
  // The code file's name is kept in a 260-byte buffer between the calls of
  // entry point 1: a longer one cannot be posted.
  if (code_file.Length() >= kPostCodeNameSize) {
    return "代码文件名太长，不能超过259个字符！\n" + code_file.str();
  }
  if (CodeFolderMissing(code_file.c_str())) {
    return "你输入的代码文件名路径不存在!\n" + code_file.str();
  }
  if (mode == 1) {
    if (tool_location_file.IsEmpty())
      return "刀位文件名不能空！";
    if (FileMissing(tool_location_file.c_str()))
      return "该文件不存在!";
  }
  const std::string mcf = mcf_folder.str() + "\\" + nc_system.str() + ".mcf";
  if (FileMissing(mcf.c_str()))
    return "后置配置文件不存在!";
  return {};
}

void CPostCodeDlg::OnOK() {
  if (!UpdateData(true))
    return;
  if (const std::string failure = FirstFailingCheck(); !failure.empty()) {
    ShowMessage(failure.c_str(), MessageIcon::None, hwnd());
    return;
  }
  if (!UpdateData(true))
    return;
  PostSettings.CurrentMcf = nc_system;
  PostSettings.PmfPathName = tool_location_file;
  PostSettings.LeavePmf = keep_tool_location;
  PostSettings.PickPath = mode;
  PostSettings.CodePathName = code_file;
  PostSettings.FileNameSuffix = naming_rule;
  PostSettings.McfFolder = mcf_folder;
  PostSettings.FileNameID = serial;
  SaveSettings();
  EndDialog(IDOK);
}

}  // namespace zu
