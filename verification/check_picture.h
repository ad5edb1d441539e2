// The picture written beside a check report (NAME.check.svg): the paths
// that were to be cut, each in its colour, with the program as it was read
// back drawn over them in a thin dark line, and every stretch of the
// expected program farther from the code than the tolerance circled in red
// and labelled with its largest distance. Drawn with drawing/, in the
// machine's frame.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "cutmodel/cut_model.h"
#include "drawing/svg_picture.h"
#include "verification/verify_program.h"

namespace zu::verify {

struct CheckPictureOptions {
  std::string title;  // UTF-8
  zu::draw::View view = zu::draw::View::kTop;
  // Path names as the file gave them, to UTF-8 (the post processor's are in
  // the ANSI code page). Passes bytes through by default.
  std::function<std::string(std::string_view)> to_utf8 = [](std::string_view s) {
    return std::string(s);
  };
};

// The picture of `expected` and of what `result` read back (it needs
// VerifyOptions::keep_motion; without the motion only the expected paths
// and the circles are drawn). Paths with a refusal were not written and are
// left out.
zu::draw::Picture CheckPicture(const cut::Program& expected, const VerifyResult& result,
                               const CheckPictureOptions& options = {});

}  // namespace zu::verify
