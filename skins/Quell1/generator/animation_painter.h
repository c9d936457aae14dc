#pragma once
// Paints the frames of the two animated pictures: the music equaliser shown
// all the time and the spinner shown while a page loads. Both are opaque on
// the well colour so they sit seamlessly in their wells.
#include <QImage>

#include <vector>

namespace quell1 {

struct AnimationFrames {
    std::vector<QImage> frames;
    int delayHundredths = 10;  // per frame, in the GIF's hundredths of a second
};

AnimationFrames paintEqualizer();
AnimationFrames paintSpinner();

}  // namespace quell1
