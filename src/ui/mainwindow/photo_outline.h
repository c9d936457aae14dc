#pragma once
// The program's built-in outline for the Photo picture: 169 points of a
// rounded portrait frame inside x 5..124, y 3..379.
#include <vector>

#include "core/skin/outline_file.h"

namespace quell::ui {

std::vector<skin::OutlinePoint> BuiltInPhotoOutline();

}  // namespace quell::ui
