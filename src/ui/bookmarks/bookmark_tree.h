#pragma once
// The bookmark dialog's tree: the root "Favorites", folders and bookmarks.
// On top of the standard tree it renames items in place, moves them between
// folders by drag and drop, and turns the Delete key into the dialog's Delete.
// The disk side of every change goes through the BookmarkTreeHost.
#include <QTreeWidget>

namespace quell::ui {

class BookmarkTreeHost;

class BookmarkTree : public QTreeWidget {
    Q_OBJECT

public:
    // Item data beyond the label: the image numbers (0 folder, 2 bookmark),
    // an application value and the state-image bits, all kept by a move.
    static constexpr int kImageRole = Qt::UserRole;
    static constexpr int kSelectedImageRole = Qt::UserRole + 1;
    static constexpr int kValueRole = Qt::UserRole + 2;
    static constexpr int kStateImageRole = Qt::UserRole + 3;
    static constexpr int kMaxLabelLength = 127;

    explicit BookmarkTree(QWidget* parent = nullptr);

    void setHost(BookmarkTreeHost* host) { m_host = host; }

    // A new item with the label and both image numbers set to image.
    QTreeWidgetItem* makeItem(const QString& label, int image) const;
    static bool isBookmark(const QTreeWidgetItem* item);
    static QStringList labelsFromRoot(const QTreeWidgetItem* item);
    static QString treePath(const QTreeWidgetItem* item);
    static QString parentPath(const QTreeWidgetItem* item);

    bool isEditing() const { return m_editing; }
    bool isDragging() const { return m_dragging; }
    QString oldLabel() const { return m_oldLabel; }
    // Abandons an edit without renaming (the Escape path).
    void clearEditing() { m_editing = false; }

    // The drag machinery, callable without a platform drag: start on item,
    // note the items the pointer crosses, drop onto the last one crossed.
    void beginItemDrag(QTreeWidgetItem* item);
    void dragOver(const QPoint& viewportPos);
    // Ends the drag; true when the item was moved.
    bool finishItemDrag();
    // Ends a drag whose button was let go where no drop arrives, outside the
    // tree: the drop still goes to the item the pointer last crossed. False
    // when no drag was running or nothing moved.
    bool endDragWithoutDrop();
    QTreeWidgetItem* dropTarget() const { return m_dropTarget; }

    // Moves item with its subtree to the end of target's children, after the
    // disk agrees. Refuses a missing target, the item itself, one of its
    // descendants and a bookmark. True when the item was moved.
    bool moveItem(QTreeWidgetItem* item, QTreeWidgetItem* target);

    // Finishes an in-place edit of item with the typed text.
    void finishRename(QTreeWidgetItem* item, const QString& newLabel);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setDropHighlight(QTreeWidgetItem* item);
    QPixmap dragPicture(const QTreeWidgetItem* item) const;

    BookmarkTreeHost* m_host = nullptr;
    bool m_editing = false;
    QString m_oldLabel;
    bool m_dragging = false;
    QTreeWidgetItem* m_dragItem = nullptr;
    QTreeWidgetItem* m_dropTarget = nullptr;
    QTreeWidgetItem* m_highlighted = nullptr;
};

}  // namespace quell::ui
