#pragma once
// The priority of threads whose wake-ups must come on time (the MIDI
// scheduler, the render thread).
namespace quell::platform {

// Asks for a real-time priority, as audio threads do, and the finest timer
// slack, so the calling thread's wake-ups are not delayed by ordinary work.
// Without the right to either, it stays an ordinary thread.
void tuneTimingThread();

}  // namespace quell::platform
