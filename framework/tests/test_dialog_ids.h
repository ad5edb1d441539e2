// Numbers of the framework's test dialog and its controls.
#pragma once

#define IDD_TEST_DIALOG 100
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_TOLERANCE 1003
#define IDC_KEEP 1004
#define IDC_MODE_PICK 1005
#define IDC_MODE_FILE 1006
#define IDC_LIST 1007
#define IDC_COMBO 1008
#define IDC_RICH 1009
#define IDC_BROWSE 1010
#define IDC_WARN 1011
#define IDC_DISABLED 1012
