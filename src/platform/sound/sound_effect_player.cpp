#include "platform/sound/sound_effect_player.h"

#include <QSoundEffect>
#include <QUrl>

#include "core/os/file_system.h"

namespace quell::platform {

SoundEffectPlayer::SoundEffectPlayer() = default;
SoundEffectPlayer::~SoundEffectPlayer() = default;

std::string SoundEffectPlayer::ResolveSoundFile(const std::string& path) {
    if (path.empty()) return {};
    std::string normalised = path;
    for (char& c : normalised) {
        if (c == '\\') c = '/';
    }
    if (os::isRegularFile(normalised)) return normalised;
    const size_t slash = normalised.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : normalised.substr(0, slash);
    const std::string name = slash == std::string::npos ? normalised : normalised.substr(slash + 1);
    const std::string found = os::resolveCaseInsensitive(folder, name);
    return os::isRegularFile(found) ? found : std::string();
}

QSoundEffect* SoundEffectPlayer::effectFor(const std::string& path) {
    if (browser::NamesNoSound(path)) return nullptr;
    const std::string file = ResolveSoundFile(path);
    if (file.empty()) return nullptr;
    std::unique_ptr<QSoundEffect>& effect = m_effects[file];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
    }
    return effect.get();
}

void SoundEffectPlayer::Prepare(const std::string& path) { effectFor(path); }

void SoundEffectPlayer::PlayAsync(const std::string& path) {
    QSoundEffect* effect = effectFor(path);
    if (!effect) return;
    // A sound still loading starts once it is ready; one already playing restarts.
    effect->stop();
    effect->play();
}

}  // namespace quell::platform
