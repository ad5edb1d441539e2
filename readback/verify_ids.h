// Numbers of the verify dialog and its controls.
#pragma once

#define IDD_VERIFY_CODE 9000
#define IDC_VERIFY_CODE_LABEL 9023
#define IDC_VERIFY_CODE_FILE 9013
#define IDC_VERIFY_BROWSE 9014
#define IDC_VERIFY_SYSTEMS 9015
#define IDC_VERIFY_SYSTEM 9016
