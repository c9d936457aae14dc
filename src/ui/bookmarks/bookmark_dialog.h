#pragma once
// "Bookmark": the tree of the user's Favorites folder with Add, Delete and
// New Folder buttons. Run modally; after it returns Accepted, chosenUrl() is
// the bookmark the user opened (empty when none was).
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/bookmarks/bookmark_tree_host.h"

class QMenu;
class QTreeWidgetItem;

namespace quell::bookmarks {
class FileOperationPrompt;
}

namespace quell::ui {

class BookmarkTree;
class FlatIconButton;

// The font the bookmark dialogs and their New Folder dialog are laid out in.
inline constexpr const char* kBookmarkDialogFace = "MS Sans Serif";
inline constexpr int kBookmarkDialogPoints = 8;

class BookmarkDialog : public QDialog, private BookmarkTreeHost {
    Q_OBJECT

public:
    // Where the dialog keeps its bookmarks and whom it asks; empty parts take
    // the program's own (the Favorites folder, message boxes, the New Folder dialog).
    struct Services {
        std::string favoritesFolder;  // ends with '/'
        bookmarks::FileOperationPrompt* prompt = nullptr;
        std::function<std::optional<QString>(QWidget* owner)> askFolderName;
    };

    BookmarkDialog(const QString& currentTitle, const QString& currentUrl, QWidget* parent = nullptr);
    BookmarkDialog(const QString& currentTitle, const QString& currentUrl, Services services,
                   QWidget* parent = nullptr);
    ~BookmarkDialog() override;

    QString chosenUrl() const { return m_chosenUrl; }

    // The dialog's operations, as its buttons, keys and menu reach them.
    void addCurrentPage();
    void deleteSelected();
    void newFolder();
    void expandAll();
    void collapseAll();
    void renameSelected();
    void openItem(QTreeWidgetItem* item);
    void refill();

    BookmarkTree* tree() const { return m_tree; }
    FlatIconButton* addButton() const { return m_add; }
    FlatIconButton* deleteButton() const { return m_delete; }
    FlatIconButton* newFolderButton() const { return m_newFolder; }
    QMenu* contextMenu() const { return m_menu; }
    const std::string& favoritesFolder() const { return m_folder; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DiskChange renameOnDisk(const QString& parentPath, const QString& oldLabel, const QString& newLabel) override;
    DiskChange moveOnDisk(const QString& oldParentPath, const QString& label, const QString& newParentPath) override;
    void refillTree() override { refill(); }
    void deleteSelection() override { deleteSelected(); }

    void buildButtons();
    void buildMenu();
    void showContextMenu(const QPoint& pos);
    QTreeWidgetItem* root() const;
    std::optional<std::string> diskPathOf(const QString& treePath) const;

    QString m_title;
    QString m_url;
    QString m_chosenUrl;
    std::string m_folder;
    std::unique_ptr<bookmarks::FileOperationPrompt> m_ownPrompt;
    bookmarks::FileOperationPrompt* m_prompt = nullptr;
    std::function<std::optional<QString>(QWidget*)> m_askFolderName;
    BookmarkTree* m_tree = nullptr;
    FlatIconButton* m_add = nullptr;
    FlatIconButton* m_delete = nullptr;
    FlatIconButton* m_newFolder = nullptr;
    QMenu* m_menu = nullptr;
};

}  // namespace quell::ui
