#pragma once
// Asynchronous playback of a button's press sound. A missing file plays
// nothing and reports nothing; the default system sound is never used.
#include <string>
#include <string_view>

namespace quell::browser {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void PlayAsync(const std::string& path) = 0;
    // Loads the sound ahead of its first press, so that the press plays it
    // at once; nothing plays.
    virtual void Prepare(const std::string& path) { (void)path; }
};

// A path whose file name (after the last '\' or '/') is "NULL" in any letter
// case names no sound.
inline bool NamesNoSound(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() != 4) return false;
    constexpr std::string_view kNull = "NULL";
    for (size_t i = 0; i < 4; ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kNull[i]) return false;
    }
    return true;
}

}  // namespace quell::browser
