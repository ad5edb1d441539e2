#include "ui/orient_option_dlg.h"

#include "environment/post_settings.h"
#include "ui/resource_ids.h"

namespace zu {

COrientOptionDlg::COrientOptionDlg(HWND parent) : ModalDialog(IDD_ORIENT_OPTIONS, parent) {}

// In this order: a value refused on the way leaves the earlier ones stored.
void COrientOptionDlg::DoDataExchange(DataExchange& dx) {
  ExchangeCheck(dx, IDC_USE_JIG_COORD, PostSettings.UseJigCoord);
  ExchangeRadio(dx, IDC_JIG_AXIS_X, PostSettings.JigToolAxis);
  ExchangeDouble(dx, IDC_JIG_UP_HEIGHT, PostSettings.JigToolUpHeight);
  // The tolerance bounds how far a chord may stray from its arc: one that
  // is not above zero allows no chord at all, one far finer than a machine
  // resolves asks for millions of chords.
  double tolerance = PostSettings.JigTolerance;
  ExchangeDouble(dx, IDC_JIG_TOLERANCE, tolerance);
  if (dx.saving() && !dx.failed() && !(tolerance > 0)) {
    dx.Refuse(IDC_JIG_TOLERANCE, kToleranceAboveZero);
  } else if (dx.saving() && !dx.failed() && tolerance < kMinJigTolerance) {
    dx.Refuse(IDC_JIG_TOLERANCE, kToleranceTooFine);
  } else if (!dx.failed()) {
    PostSettings.JigTolerance = tolerance;
  }
  ExchangeRadio(dx, IDC_FIX_MODE_FIVE_AXIS, PostSettings.FixMillMode);
}

}  // namespace zu
