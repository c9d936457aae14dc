#include "ui/bookmarks/bookmark_tree.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

#include "core/bookmarks/fill_tree.h"
#include "core/bookmarks/tree_path.h"
#include "ui/bookmarks/bookmark_icons.h"
#include "ui/bookmarks/bookmark_tree_host.h"

namespace quell::ui {

namespace {

constexpr const char* kDragMime = "application/x-quellcore-bookmark-item";

// Gives the edit box its length limit and hands the typed text to the tree
// instead of writing it into the item: the tree decides the label.
class LabelDelegate final : public QStyledItemDelegate {
public:
    explicit LabelDelegate(BookmarkTree* tree) : QStyledItemDelegate(tree), m_tree(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(BookmarkTree::kMaxLabelLength);
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line) return;
        m_tree->finishRename(m_tree->itemFromIndex(index), line->text());
    }

private:
    BookmarkTree* m_tree;
};

bool isInside(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor) {
    for (const QTreeWidgetItem* p = item; p; p = p->parent())
        if (p == ancestor) return true;
    return false;
}

}  // namespace

BookmarkTree::BookmarkTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(13, 13));
    setItemDelegate(new LabelDelegate(this));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    // No timer while dragging: nothing scrolls or opens by itself.
    setAutoScroll(false);
    setAutoExpandDelay(-1);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

QTreeWidgetItem* BookmarkTree::makeItem(const QString& label, int image) const {
    auto* item = new QTreeWidgetItem(QStringList{label});
    item->setData(0, kImageRole, image);
    item->setData(0, kSelectedImageRole, image);
    item->setData(0, kValueRole, 0);
    item->setData(0, kStateImageRole, 0);
    item->setIcon(0, bookmarkTreeImage(image));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                   Qt::ItemIsDropEnabled);
    return item;
}

bool BookmarkTree::isBookmark(const QTreeWidgetItem* item) {
    return item && item->data(0, kImageRole).toInt() == bookmarks::kBookmarkImage &&
           item->data(0, kSelectedImageRole).toInt() == bookmarks::kBookmarkImage;
}

QStringList BookmarkTree::labelsFromRoot(const QTreeWidgetItem* item) {
    QStringList labels;
    // The root's label is only what the tree shows: whatever it was renamed
    // to, its place in a path is always the fixed root label.
    for (const QTreeWidgetItem* p = item; p; p = p->parent())
        labels.prepend(p->parent() ? p->text(0)
                                   : QString::fromUtf8(bookmarks::kRootLabel.data(),
                                                       static_cast<qsizetype>(bookmarks::kRootLabel.size())));
    return labels;
}

QString BookmarkTree::treePath(const QTreeWidgetItem* item) {
    return labelsFromRoot(item).join(QChar(bookmarks::kTreeSeparator));
}

QString BookmarkTree::parentPath(const QTreeWidgetItem* item) {
    if (!item || !item->parent()) return QString();
    return treePath(item->parent()) + QChar(bookmarks::kTreeSeparator);
}

bool BookmarkTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!QTreeWidget::edit(index, trigger, event)) return false;
    if (state() == EditingState && !m_editing) {
        m_editing = true;
        m_oldLabel = itemFromIndex(index)->text(0);
    }
    return true;
}

void BookmarkTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    m_editing = false;
}

void BookmarkTree::finishRename(QTreeWidgetItem* item, const QString& newLabel) {
    if (!m_editing || !item) return;
    m_editing = false;
    const QString old = m_oldLabel;
    if (newLabel == old) return;
    // The root stands for the Favorites folder and has no name of its own on
    // disk: renaming it only changes what the tree shows until the next refill.
    if (!item->parent()) {
        item->setText(0, newLabel);
        return;
    }
    // The user types the label; a bookmark keeps the extension that makes it one.
    const QString label =
        isBookmark(item) ? QString::fromStdString(bookmarks::RenamedBookmarkName(newLabel.toStdString())) : newLabel;
    if (label == old) return;
    DiskChange change = m_host ? m_host->renameOnDisk(parentPath(item), old, label) : DiskChange::Done;
    if (change == DiskChange::Done) item->setText(0, label);
    else if (change == DiskChange::Reload && m_host) m_host->refillTree();
}

void BookmarkTree::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !m_editing) {
        if (currentItem() && m_host) m_host->deleteSelection();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void BookmarkTree::setDropHighlight(QTreeWidgetItem* item) {
    if (m_highlighted == item) return;
    if (m_highlighted) {
        m_highlighted->setData(0, Qt::BackgroundRole, QVariant());
        m_highlighted->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_highlighted = item;
    if (item) {
        item->setData(0, Qt::BackgroundRole, palette().brush(QPalette::Highlight));
        item->setData(0, Qt::ForegroundRole, palette().brush(QPalette::HighlightedText));
    }
}

void BookmarkTree::beginItemDrag(QTreeWidgetItem* item) {
    m_dropTarget = nullptr;
    m_dragItem = item;
    m_dragging = item != nullptr;
}

void BookmarkTree::dragOver(const QPoint& viewportPos) {
    if (!m_dragging) return;
    // Over empty space the last item crossed stays the target.
    if (QTreeWidgetItem* item = itemAt(viewportPos)) {
        m_dropTarget = item;
        setDropHighlight(item);
    }
}

bool BookmarkTree::finishItemDrag() {
    if (!m_dragging) return false;
    m_dragging = false;
    setDropHighlight(nullptr);
    QTreeWidgetItem* item = m_dragItem;
    QTreeWidgetItem* target = m_dropTarget;
    m_dragItem = nullptr;
    m_dropTarget = nullptr;
    return moveItem(item, target);
}

bool BookmarkTree::moveItem(QTreeWidgetItem* item, QTreeWidgetItem* target) {
    if (!item || !target || isInside(target, item) || isBookmark(target)) return false;
    // The root cannot move anywhere: every other item is inside it.
    const QString oldParent = parentPath(item);
    const QString newParent = treePath(target) + QChar(bookmarks::kTreeSeparator);
    DiskChange change = m_host ? m_host->moveOnDisk(oldParent, item->text(0), newParent) : DiskChange::Done;
    if (change == DiskChange::Reload) {
        m_host->refillTree();
        return true;
    }
    if (change != DiskChange::Done) return false;

    target->setExpanded(true);
    // The copy takes labels, images, values and state bits of the whole
    // subtree; expansion is view state and is not copied, so it shows collapsed.
    QTreeWidgetItem* copy = item->clone();
    target->addChild(copy);
    delete item;
    setCurrentItem(copy);
    return true;
}

QPixmap BookmarkTree::dragPicture(const QTreeWidgetItem* item) const {
    QRect r = visualItemRect(item);
    if (r.isEmpty()) return QPixmap();
    QPixmap picture(r.size());
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setOpacity(0.7);
    item->icon(0).paint(&p, QRect(QPoint(2, (r.height() - 13) / 2), QSize(13, 13)));
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRect(19, 0, r.width() - 19, r.height()), Qt::AlignVCenter | Qt::AlignLeft, item->text(0));
    return picture;
}

void BookmarkTree::startDrag(Qt::DropActions) {
    QTreeWidgetItem* item = currentItem();
    if (!item) return;
    QPixmap picture = dragPicture(item);
    if (picture.isNull()) return;
    beginItemDrag(item);
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(kDragMime, QByteArray());
    drag->setMimeData(data);
    drag->setPixmap(picture);
    // The picture trails 15 pixels right of and below the pointer.
    drag->setHotSpot(QPoint(-15, -15));
    drag->exec(Qt::MoveAction);
    endDragWithoutDrop();
}

bool BookmarkTree::endDragWithoutDrop() {
    // A drop inside the tree has ended the drag already.
    if (!m_dragging) return false;
    return finishItemDrag();
}

void BookmarkTree::dragEnterEvent(QDragEnterEvent* event) {
    if (m_dragging && event->mimeData()->hasFormat(kDragMime)) event->acceptProposedAction();
    else event->ignore();
}

void BookmarkTree::dragMoveEvent(QDragMoveEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    dragOver(event->position().toPoint());
    // Refusals are decided at the drop, so every position accepts it.
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void BookmarkTree::dragLeaveEvent(QDragLeaveEvent* event) { event->accept(); }

void BookmarkTree::dropEvent(QDropEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    dragOver(event->position().toPoint());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    finishItemDrag();
}

}  // namespace quell::ui
