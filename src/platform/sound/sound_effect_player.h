#pragma once
// Press sounds through QSoundEffect. Skins are authored on case-insensitive
// file systems, so a file that does not exist as named is looked up without
// regard to case in its folder; a file that is still missing plays nothing.

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "core/browser/sound_player.h"

class QSoundEffect;

namespace quell::platform {

class SoundEffectPlayer final : public browser::SoundPlayer {
public:
    SoundEffectPlayer();
    ~SoundEffectPlayer() override;

    void PlayAsync(const std::string& path) override;
    void Prepare(const std::string& path) override;

    // The file that PlayAsync would play, or empty when there is none.
    static std::string ResolveSoundFile(const std::string& path);
    // How many files have been loaded for playing so far.
    size_t loadedEffects() const { return m_effects.size(); }

private:
    // The file's effect, made and set loading on first use; null when the
    // path names no sound or no file.
    QSoundEffect* effectFor(const std::string& path);

    // One effect per file, kept so that a repeated press does not reload it.
    std::map<std::string, std::unique_ptr<QSoundEffect>> m_effects;
};

}  // namespace quell::platform
