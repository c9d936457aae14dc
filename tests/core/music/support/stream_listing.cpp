#include "stream_listing.h"

namespace quell::music::test {

std::vector<StreamEvent> StreamListing::allEvents() const {
    std::vector<StreamEvent> out;
    for (const FilledBuffer& b : buffers) out.insert(out.end(), b.events.begin(), b.events.end());
    return out;
}

std::vector<StreamEvent> eventsOf(const StreamBuffer& buffer) {
    std::vector<StreamEvent> out;
    for (uint32_t at = 0; at + kStreamEventSize <= buffer.used; at += kStreamEventSize)
        out.push_back(readStreamEvent(buffer.data + at));
    return out;
}

StreamListing listStream(StreamFiller& filler, size_t maxBuffers) {
    StreamListing listing;
    uint8_t block[kStreamBufferSize];
    StreamBuffer buffer;
    buffer.data = block;
    for (size_t k = 0; k < maxBuffers; ++k) {
        buffer.resetFill();
        int result = filler.FillBuffer(buffer, k == 0);
        if (result != kFillReady) {
            listing.end = result;
            return listing;
        }
        listing.buffers.push_back({buffer.used, eventsOf(buffer)});
    }
    return listing;
}

}  // namespace quell::music::test
