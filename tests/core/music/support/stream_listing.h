#pragma once
// Runs the filler over a whole song and keeps every buffer's events.
#include <vector>

#include "core/music/stream_event.h"
#include "core/music/stream_filler.h"

namespace quell::music::test {

struct FilledBuffer {
    uint32_t used = 0;
    std::vector<StreamEvent> events;
};

struct StreamListing {
    std::vector<FilledBuffer> buffers;
    int end = 0;  // the first non-zero fill result

    std::vector<StreamEvent> allEvents() const;
};

// Fills buffers until a fill gives a non-zero result or maxBuffers are done.
StreamListing listStream(StreamFiller& filler, size_t maxBuffers = 100000);

std::vector<StreamEvent> eventsOf(const StreamBuffer& buffer);

}  // namespace quell::music::test
