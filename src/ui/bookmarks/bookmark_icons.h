#pragma once
// The bookmark dialog's pictures, drawn here rather than shipped as files:
// the 32 x 32 button icons 159 to 164 and the 13 x 13 tree images.
#include <QIcon>
#include <QPixmap>

namespace quell::ui {

// Icons 159 (add, active), 160 (add, inactive), 161/162 (delete),
// 163/164 (new folder). Any other id gives a null icon.
QIcon bookmarkButtonIcon(int id);

// The tree's image strip: three 13 x 13 images side by side (39 x 13), white
// where transparent. Image 0 is a folder, image 2 a page; image 1 is unused.
QPixmap bookmarkImageStrip();
// One image of the strip with its white turned transparent.
QIcon bookmarkTreeImage(int index);

}  // namespace quell::ui
