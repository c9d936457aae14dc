#include "platform/midi/timing_thread.h"

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

#include <algorithm>

namespace quell::platform {

void tuneTimingThread() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    sched_param param{};
    param.sched_priority = std::max(sched_get_priority_min(SCHED_FIFO), 20);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

}  // namespace quell::platform
