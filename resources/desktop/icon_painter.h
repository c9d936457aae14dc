#pragma once
// The program's icon for the desktop: the Quell1 ring on a slate tile.
#include <QImage>

namespace quell1 {

QImage paintIcon(int size);

}  // namespace quell1
