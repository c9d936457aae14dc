#include "support/recording_notify.h"

#include "support/memory_io.h"

namespace cabtest {

using namespace quell::cabinet;

std::vector<NotificationKind> Recorder::kinds() const {
    std::vector<NotificationKind> out;
    for (const Notified& n : calls) out.push_back(n.kind);
    return out;
}

std::vector<std::string> Recorder::names(NotificationKind kind) const {
    std::vector<std::string> out;
    for (const Notified& n : calls)
        if (n.kind == kind) out.push_back(n.text1);
    return out;
}

intptr_t recordNotification(NotificationKind kind, CabinetNotification& n) {
    auto* r = static_cast<Recorder*>(n.user);
    Notified rec{kind, n.text1 ? n.text1 : "", n.text2 ? n.text2 : "", n.text3 ? n.text3 : ""};
    rec.count = n.count;
    rec.date = n.date;
    rec.time = n.time;
    rec.attributes = n.attributes;
    rec.setId = n.setId;
    rec.cabinetIndex = n.cabinetIndex;
    rec.lastError = n.lastError;
    rec.handle = n.handle;
    r->calls.push_back(rec);
    intptr_t answer = -2;
    if (r->answer) answer = r->answer(kind, n);
    if (answer != -2) {
        if (kind == FileEnd && answer != -1) memoryIo().close(n.handle);
        return answer;
    }
    switch (kind) {
    case FileBegin: return newOutputHandle();
    case FileEnd: {
        r->files.emplace_back(n.text1, memoryFs().outputs[n.handle]);
        memoryIo().close(n.handle);
        return 1;
    }
    default: return 0;
    }
}

}  // namespace cabtest
