// The orientation-milling options dialog (resource 9005), opened from the
// post-code dialog. It exchanges its controls straight with PostSettings;
// the settings reach the file only when something later saves them.
// Windows only.
#pragma once

#include "framework/dialog.h"

namespace zu {

// The refusal of a path conversion tolerance that is not above zero.
inline constexpr const char* kToleranceAboveZero = "轨迹转换精度必须大于0！";
// The refusal of one above zero but finer than kMinJigTolerance.
inline constexpr const char* kToleranceTooFine = "轨迹转换精度不能小于0.0001！";

class COrientOptionDlg : public ModalDialog {
 public:
  explicit COrientOptionDlg(HWND parent = nullptr);

 protected:
  void DoDataExchange(DataExchange& dx) override;
};

}  // namespace zu
