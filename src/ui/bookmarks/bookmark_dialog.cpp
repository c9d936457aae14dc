#include "ui/bookmarks/bookmark_dialog.h"

#include <QKeyEvent>
#include <QMenu>
#include <QResizeEvent>
#include <filesystem>
#include <vector>

#include "core/bookmarks/favorites_folder.h"
#include "core/bookmarks/fill_tree.h"
#include "core/bookmarks/shell_file_operation.h"
#include "core/bookmarks/shortcut_file.h"
#include "core/bookmarks/tree_path.h"
#include "core/browser/menus.h"
#include "ui/app/core_qt.h"
#include "core/os/file_system.h"
#include "ui/bookmarks/bookmark_icons.h"
#include "ui/bookmarks/bookmark_tree.h"
#include "ui/bookmarks/message_box_file_prompt.h"
#include "ui/bookmarks/new_folder_dialog.h"
#include "ui/controls/flat_icon_button.h"
#include "ui/controls/font_height.h"

namespace quell::ui {

namespace {

constexpr int kButtonBarHeight = 38;
constexpr int kMinimumWidth = 266;
constexpr int kMinimumHeight = 350;

// Adds the walked folder to the tree below a given item.
class TreeWidgetSink final : public bookmarks::TreeSink {
public:
    TreeWidgetSink(const BookmarkTree& tree, QTreeWidgetItem* root) : m_tree(tree) { m_parents.push_back(root); }

    void openFolder(const std::string& label, const std::string&) override {
        QTreeWidgetItem* item = m_tree.makeItem(QString::fromStdString(label), bookmarks::kFolderImage);
        m_parents.back()->addChild(item);
        m_parents.push_back(item);
    }
    void closeFolder() override { m_parents.pop_back(); }
    void addBookmark(const std::string& label, const std::string&) override {
        m_parents.back()->addChild(m_tree.makeItem(QString::fromStdString(label), bookmarks::kBookmarkImage));
    }
    void addNote(const std::string& text) override {
        // A note is not a file: it cannot be selected, edited or dragged.
        QTreeWidgetItem* item = m_tree.makeItem(QString::fromStdString(text), bookmarks::kFolderImage);
        item->setFlags(Qt::NoItemFlags);
        m_parents.back()->addChild(item);
    }

private:
    const BookmarkTree& m_tree;
    std::vector<QTreeWidgetItem*> m_parents;
};

std::optional<QString> askWithNewFolderDialog(QWidget* owner) {
    NewFolderDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.folderName();
}

}  // namespace

BookmarkDialog::BookmarkDialog(const QString& currentTitle, const QString& currentUrl, QWidget* parent)
    : BookmarkDialog(currentTitle, currentUrl, Services{}, parent) {}

BookmarkDialog::BookmarkDialog(const QString& currentTitle, const QString& currentUrl, Services services,
                               QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_title(currentTitle),
      m_url(currentUrl),
      m_folder(std::move(services.favoritesFolder)),
      m_prompt(services.prompt),
      m_askFolderName(std::move(services.askFolderName)) {
    if (m_folder.empty()) m_folder = bookmarks::FavoritesFolder();
    if (m_folder.back() != '/') m_folder += '/';
    if (!m_prompt) {
        m_ownPrompt = std::make_unique<MessageBoxFilePrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    if (!m_askFolderName) m_askFolderName = askWithNewFolderDialog;

    setWindowTitle(QStringLiteral("Bookmark"));
    setFont(pointFont(QString::fromLatin1(kBookmarkDialogFace), kBookmarkDialogPoints));
    setSizeGripEnabled(false);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kMinimumWidth, kMinimumHeight);

    m_tree = new BookmarkTree(this);
    m_tree->setObjectName(QStringLiteral("tree"));
    m_tree->setHost(this);
    QPalette treePalette = m_tree->palette();
    treePalette.setColor(QPalette::Base, QColor(239, 255, 239));
    m_tree->setPalette(treePalette);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &BookmarkDialog::showContextMenu);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &BookmarkDialog::openItem);

    buildButtons();
    buildMenu();
    m_tree->setGeometry(0, kButtonBarHeight, width(), height() - kButtonBarHeight);
    refill();
}

BookmarkDialog::~BookmarkDialog() {
    // The tree calls back into the dialog; it must not outlive the parts it uses.
    m_tree->setHost(nullptr);
}

void BookmarkDialog::buildButtons() {
    struct ButtonInfo {
        const char* caption;
        int activeIcon;
        int inactiveIcon;
        QColor activeText;
        const char* tooltip;
        FlatIconButton** slot;
        void (BookmarkDialog::*action)();
    } buttons[] = {
        {"Add", 159, 160, QColor(0, 100, 0), "Add current page to bookmark", &m_add, &BookmarkDialog::addCurrentPage},
        {"Delete", 161, 162, QColor(192, 0, 0), "Delete a selected bookmark", &m_delete,
         &BookmarkDialog::deleteSelected},
        {"New Folder", 163, 164, QColor(0, 0, 192), "Make a new bookmark folder", &m_newFolder,
         &BookmarkDialog::newFolder},
    };
    // Each button is as wide as its icon and caption need, laid out in a row.
    int x = 3;
    for (const ButtonInfo& s : buttons) {
        auto* button = new FlatIconButton(QString::fromUtf8(s.caption), this);
        button->setIcons(bookmarkButtonIcon(s.activeIcon), bookmarkButtonIcon(s.inactiveIcon), 32, 32);
        button->setFlat(true);
        button->setDrawBorder(true);
        button->setActiveTextColour(s.activeText);
        button->setInactiveTextColour(QColor(127, 127, 127));
        button->setToolTip(QString::fromUtf8(s.tooltip));
        button->setFocusPolicy(Qt::TabFocus);
        int width = 3 + 32 + 3 + button->fontMetrics().horizontalAdvance(button->text()) + 6;
        button->setGeometry(x, 1, width, kButtonBarHeight - 2);
        x += width + 1;
        *s.slot = button;
        connect(button, &QPushButton::clicked, this, s.action);
    }
}

void BookmarkDialog::buildMenu() {
    // The tree's menu is the window's Favorite menu, captions and all; its
    // "open" and "close" expand and collapse the whole tree.
    const browser::Menu& source = browser::MenuById(browser::kFavoriteMenu);
    m_menu = new QMenu(toQString(std::string(source.title)), this);
    for (const browser::MenuItem& item : source.items) {
        if (item.isSeparator()) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(toQString(std::string(item.caption)));
        switch (item.id) {
        case browser::kMenuFavoriteOpen: connect(action, &QAction::triggered, this, &BookmarkDialog::expandAll); break;
        case browser::kMenuFavoriteClose:
            connect(action, &QAction::triggered, this, &BookmarkDialog::collapseAll);
            break;
        case browser::kMenuFavoriteDelete:
            connect(action, &QAction::triggered, this, &BookmarkDialog::deleteSelected);
            break;
        case browser::kMenuFavoriteRename:
            connect(action, &QAction::triggered, this, &BookmarkDialog::renameSelected);
            break;
        default: break;
        }
    }
}

QTreeWidgetItem* BookmarkDialog::root() const { return m_tree->topLevelItem(0); }

std::optional<std::string> BookmarkDialog::diskPathOf(const QString& treePath) const {
    return bookmarks::DiskPath(m_folder, treePath.toStdString());
}

void BookmarkDialog::refill() {
    m_tree->clear();
    QTreeWidgetItem* top = m_tree->makeItem(
        QString::fromUtf8(bookmarks::kRootLabel.data(), static_cast<int>(bookmarks::kRootLabel.size())),
        bookmarks::kFolderImage);
    m_tree->addTopLevelItem(top);
    TreeWidgetSink sink(*m_tree, top);
    bookmarks::FillTree(sink, m_folder);
    top->setExpanded(true);
}

void BookmarkDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_tree) m_tree->setGeometry(0, kButtonBarHeight, width(), height() - kButtonBarHeight);
}

void BookmarkDialog::keyPressEvent(QKeyEvent* event) {
    // While a label is being edited, Enter belongs to the edit box, which
    // commits the new name; the dialog stays open. (Escape never gets here
    // then: the edit box takes it to abandon the edit.)
    if (m_tree->isEditing()) {
        event->accept();
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void BookmarkDialog::addCurrentPage() {
    if (m_title.isEmpty()) return;
    const std::string name = bookmarks::BookmarkFileName(m_title.toStdString());
    const std::string path = m_folder + name;
    std::error_code ec;
    auto status = std::filesystem::symlink_status(path, ec);
    if (std::filesystem::is_directory(status)) {
        m_prompt->reportFailure("Cannot add the bookmark: a folder named \"" + name + "\" already exists.");
        return;
    }
    if (std::filesystem::exists(status) && !m_prompt->confirmReplace(path, name)) return;
    if (!bookmarks::WriteShortcut(path, m_url.toStdString())) {
        m_prompt->reportFailure("Cannot save the bookmark \"" + name + "\" in " + m_folder + ".");
        return;
    }
    QTreeWidgetItem* item = m_tree->makeItem(QString::fromStdString(name), bookmarks::kBookmarkImage);
    root()->addChild(item);
    m_tree->setCurrentItem(item);
    m_tree->setFocus();
}

void BookmarkDialog::deleteSelected() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || !item->parent()) return;
    auto path = diskPathOf(BookmarkTree::treePath(item));
    if (!path) return;
    bookmarks::ShellFileOperation operation(*m_prompt);
    operation.AddSource(*path);
    operation.Delete();
    refill();
}

void BookmarkDialog::newFolder() {
    QTreeWidgetItem* selected = m_tree->currentItem();
    if (BookmarkTree::isBookmark(selected)) return;
    std::optional<QString> name = m_askFolderName(this);
    if (!name || name->isEmpty()) return;
    const std::string folderName = name->toStdString();
    // A name the file system would take as a path is refused like any other
    // name it cannot create: silently, nothing changes.
    if (!bookmarks::IsValidItemName(folderName)) return;
    std::string path;
    if (!selected || !selected->parent()) {
        path = m_folder + folderName;
    } else {
        auto folder = diskPathOf(BookmarkTree::treePath(selected));
        if (!folder) return;
        path = *folder + "/" + folderName;
    }
    if (os::createDirectory(path) != os::CreateDirectoryResult::Created) return;
    QTreeWidgetItem* parentItem = selected ? selected : root();
    QTreeWidgetItem* item = m_tree->makeItem(*name, bookmarks::kFolderImage);
    parentItem->addChild(item);
    parentItem->setExpanded(true);
    m_tree->setCurrentItem(item);
    m_tree->setFocus();
}

void BookmarkDialog::openItem(QTreeWidgetItem* item) {
    if (!item) return;
    auto path = diskPathOf(BookmarkTree::treePath(item));
    std::string url;
    if (!path || !bookmarks::ReadShortcutUrl(*path, url)) return;
    m_chosenUrl = QString::fromStdString(url);
    accept();
}

void BookmarkDialog::expandAll() {
    m_tree->expandAll();
    m_tree->setCurrentItem(root());
    m_tree->scrollToItem(root());
}

void BookmarkDialog::collapseAll() {
    m_tree->collapseAll();
    m_tree->setCurrentItem(root());
    m_tree->scrollToItem(root());
}

void BookmarkDialog::renameSelected() {
    if (QTreeWidgetItem* item = m_tree->currentItem()) m_tree->editItem(item, 0);
}

void BookmarkDialog::showContextMenu(const QPoint& pos) {
    QTreeWidgetItem* item = m_tree->itemAt(pos);
    if (item) {
        m_tree->setCurrentItem(item);
    } else {
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
    }
    m_menu->exec(m_tree->viewport()->mapToGlobal(pos));
}

DiskChange BookmarkDialog::renameOnDisk(const QString& parentPath, const QString& oldLabel, const QString& newLabel) {
    auto folder = diskPathOf(parentPath);
    if (!folder) return DiskChange::Refused;
    bookmarks::ShellFileOperation operation(*m_prompt);
    operation.AddSource(*folder + oldLabel.toStdString());
    operation.AddDestination(*folder + newLabel.toStdString());
    return operation.Rename() == bookmarks::OperationResult::Done ? DiskChange::Done : DiskChange::Refused;
}

DiskChange BookmarkDialog::moveOnDisk(const QString& oldParentPath, const QString& label,
                                      const QString& newParentPath) {
    auto from = diskPathOf(oldParentPath);
    auto to = diskPathOf(newParentPath);
    if (!from || !to) return DiskChange::Refused;
    const std::string source = *from + label.toStdString();
    std::error_code ec;
    // Moving into a folder that already holds that name merges or replaces;
    // the tree then shows the disk again rather than a second item.
    bool clash =
        *from != *to && std::filesystem::exists(std::filesystem::symlink_status(*to + label.toStdString(), ec));
    bookmarks::ShellFileOperation operation(*m_prompt);
    operation.AddSource(source);
    operation.AddDestination(*to);
    bookmarks::OperationResult result = operation.Move();
    if (result == bookmarks::OperationResult::Done) return clash ? DiskChange::Reload : DiskChange::Done;
    // Only a merge of two folders can stop half way; anything else that did
    // not succeed left the disk as it was.
    bool sourceIsFolder = std::filesystem::is_directory(std::filesystem::symlink_status(source, ec));
    if (!clash || !sourceIsFolder) return DiskChange::Refused;
    return DiskChange::Reload;
}

}  // namespace quell::ui
