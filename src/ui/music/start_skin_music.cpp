#include "ui/music/start_skin_music.h"

#include "core/os/file_system.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"
#include "platform/midi/system_midi_stream.h"

namespace quell::ui {

MusicNotifyWindow* StartSkinMusic(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder) {
    return StartSkinMusic(parent, skinIniPath, mediaFolder, [] { return platform::createSystemMidiStream(); });
}

MusicNotifyWindow* StartSkinMusic(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder,
                                  const MusicNotifyWindow::StreamFactory& makeStream) {
    skin::SkinMusic music = skin::ReadSkinMusic(skin::ProfileFile::Load(skinIniPath));
    if (music.file.empty()) return nullptr;
    std::string path = os::resolveCaseInsensitive(mediaFolder, music.file);
    return MusicNotifyWindow::Create(parent, path, music.repeat, makeStream);
}

}  // namespace quell::ui
