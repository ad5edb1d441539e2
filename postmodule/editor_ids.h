// Numbers of the machine-configuration editor's dialog and controls.
#pragma once

#define IDD_MCF_EDITOR 100
#define IDC_MCF_LIST 1001
#define IDC_MCF_TEXT 1002
#define IDC_MCF_OPEN 1003
#define IDC_MCF_SAVE 1004
#define IDC_MCF_FOLDER 1005
