#pragma once
// What BookmarkTree asks of the dialog that owns it: the disk side of a
// rename or a move, and the dialog's Delete.
#include <QString>

namespace quell::ui {

enum class DiskChange {
    Done,     // the disk now matches the change the tree is about to show
    Refused,  // nothing changed on disk (refused, declined or failed): leave the tree as it is
    Reload,   // the disk changed in a way the tree cannot mirror item by item: refill it
};

class BookmarkTreeHost {
public:
    virtual ~BookmarkTreeHost() = default;
    // Paths are tree paths; parent paths end with the separator.
    virtual DiskChange renameOnDisk(const QString& parentPath, const QString& oldLabel, const QString& newLabel) = 0;
    virtual DiskChange moveOnDisk(const QString& oldParentPath, const QString& label, const QString& newParentPath) = 0;
    virtual void refillTree() = 0;
    virtual void deleteSelection() = 0;
};

}  // namespace quell::ui
