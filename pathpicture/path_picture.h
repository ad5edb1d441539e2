// A part document's paths as a picture (drawing/picture.h): what a person
// sees of them, in the document's (system) coordinates. Two- and
// three-axis moves become straight moves and arcs (rapids are the moves
// whose attribute a is 9), drilling paths add their holes (the geometry's
// drill points, as deep as the record's hole depth), five-axis rows become
// straight moves through their points with the tool's axis at each, and
// compensation starts and ends (attribute c -5 and -6) and dwells (kinds
// 63 and 65, as the writers decide them) become marks.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/picture.h"
#include "host/path_model.h"

namespace zuhost {

struct PicturePathsOptions {
  std::string title;  // UTF-8
  // Path names are in the ANSI code page in the Windows host: converted to
  // UTF-8 for the picture. Passes bytes through by default.
  std::function<std::string(std::string_view)> to_utf8 = [](std::string_view s) {
    return std::string(s);
  };
};

// The picture of `paths`, in their order (none: a picture with no paths,
// which draws as a message). The paths are only read.
zu::draw::Picture PicturePaths(const std::vector<const OrvoPath*>& paths,
                               const PicturePathsOptions& options = {});

}  // namespace zuhost
