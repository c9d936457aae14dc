#pragma once
// A notification callback that records every call and answers as a test tells it.
#include <functional>
#include <string>
#include <vector>

#include "core/cabinet/cabinet_types.h"

namespace cabtest {

struct Notified {
    quell::cabinet::NotificationKind kind;
    std::string text1, text2, text3;
    int32_t count = 0;
    uint16_t date = 0, time = 0, attributes = 0, setId = 0, cabinetIndex = 0;
    int32_t lastError = 0;
    quell::cabinet::FileHandle handle = 0;
};

struct Recorder {
    std::vector<Notified> calls;
    // Answers by kind; FileBegin's default makes a fresh memory output handle.
    std::function<intptr_t(quell::cabinet::NotificationKind, quell::cabinet::CabinetNotification&)> answer;
    // Output bytes by file name, collected at FileEnd.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;

    std::vector<quell::cabinet::NotificationKind> kinds() const;
    std::vector<std::string> names(quell::cabinet::NotificationKind kind) const;
};

// The callback to give Copy with the Recorder as its user value.
intptr_t recordNotification(quell::cabinet::NotificationKind kind, quell::cabinet::CabinetNotification& n);

}  // namespace cabtest
