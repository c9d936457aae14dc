#pragma once
// Font sizes in points turned into pixel heights the way the skin's author saw
// them: points * dots-per-inch / 72, rounded to the nearest integer with
// halves away from zero (9 pt at 96 dpi is 12 px, 8 pt is 11 px).
class QFont;
class QString;

namespace quell::ui {

int mulDivRound(int number, int numerator, int denominator);

// The pixel height of a font of the given points on the primary screen.
int fontPixelHeight(int points);

// A font asked for by face and points, sized as the skin's fonts are: the
// face by name, for fontconfig to match, at fontPixelHeight(points).
QFont pointFont(const QString& face, int points);

// The pixel size (em height) at which the font's character cell, ascent and
// descent together, is cellPixels high; at least 1.
int emPixelsForCellHeight(const QFont& font, int cellPixels);

}  // namespace quell::ui
