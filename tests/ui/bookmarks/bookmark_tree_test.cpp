// BookmarkTree drag and drop: the refusals, the subtree copy and the disk move.
#include <QMimeData>
#include <QtTest>

#include "bookmark_test_support.h"
#include "ui/bookmarks/bookmark_dialog.h"
#include "ui/bookmarks/bookmark_tree.h"
#include "ui/bookmarks/bookmark_tree_host.h"

using namespace quell::ui;
using bookmark_test::childLabels;
using bookmark_test::findItem;

namespace {

// Records what the tree asks of its dialog and answers from a script.
class RecordingHost final : public BookmarkTreeHost {
public:
    DiskChange answer = DiskChange::Done;
    QStringList calls;
    DiskChange renameOnDisk(const QString& parent, const QString& oldLabel, const QString& newLabel) override {
        calls << "rename " + parent + oldLabel + " -> " + newLabel;
        return answer;
    }
    DiskChange moveOnDisk(const QString& oldParent, const QString& label, const QString& newParent) override {
        calls << "move " + oldParent + label + " -> " + newParent;
        return answer;
    }
    void refillTree() override { calls << "refill"; }
    void deleteSelection() override { calls << "delete"; }
};

// Root "Favorites" with A (holding B, holding C.url) and News.url.
struct SampleTree {
    BookmarkTree tree;
    RecordingHost host;
    QTreeWidgetItem* root;
    QTreeWidgetItem* a;
    QTreeWidgetItem* b;
    QTreeWidgetItem* c;
    QTreeWidgetItem* news;

    SampleTree() {
        tree.setHost(&host);
        root = tree.makeItem("Favorites", 0);
        tree.addTopLevelItem(root);
        a = tree.makeItem("A", 0);
        b = tree.makeItem("B", 0);
        c = tree.makeItem("C.url", 2);
        news = tree.makeItem("News.url", 2);
        root->addChild(a);
        a->addChild(b);
        b->addChild(c);
        root->addChild(news);
        tree.resize(300, 300);
        tree.show();
        tree.expandAll();
        (void)QTest::qWaitForWindowExposed(&tree);
    }
};

void sendDragEnter(BookmarkTree& tree, QPoint at, QMimeData& data) {
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &enter);
}

void sendDragMove(BookmarkTree& tree, QPoint at, QMimeData& data) {
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &move);
}

}  // namespace

class BookmarkTreeTest : public QObject {
    Q_OBJECT

private slots:
    void refusesDropOntoItselfDescendantBookmarkOrNothing() {
        SampleTree t;
        struct Case {
            const char* name;
            QTreeWidgetItem* item;
            QTreeWidgetItem* target;
        } cases[] = {
            {"onto itself", t.a, t.a},
            {"onto its child", t.a, t.b},
            {"root onto a folder", t.root, t.a},
            {"onto a bookmark", t.a, t.news},
            {"onto a bookmark inside", t.news, t.c},
            {"onto nothing", t.a, nullptr},
        };
        for (const Case& c : cases) {
            QVERIFY2(!t.tree.moveItem(c.item, c.target), c.name);
        }
        QVERIFY2(t.host.calls.isEmpty(), qPrintable(t.host.calls.join("; ")));
        QCOMPARE(t.b->parent(), t.a);
        QCOMPARE(childLabels(t.root), (QStringList{"A", "News.url"}));
    }

    void dropCopiesSubtreeWithDataAndSelectsCopy() {
        SampleTree t;
        t.c->setData(0, BookmarkTree::kValueRole, 77);
        t.c->setData(0, BookmarkTree::kStateImageRole, 0x2000);
        QVERIFY(t.tree.moveItem(t.b, t.root));
        QCOMPARE(t.host.calls, QStringList{"move Favorites/A/B -> Favorites/"});
        QTreeWidgetItem* copy = findItem(&t.tree, "Favorites/B");
        QVERIFY(copy);
        QCOMPARE(t.a->childCount(), 0);
        QCOMPARE(t.root->child(t.root->childCount() - 1), copy);
        QTreeWidgetItem* c = findItem(&t.tree, "Favorites/B/C.url");
        QVERIFY(c);
        QVERIFY(BookmarkTree::isBookmark(c));
        QCOMPARE(c->data(0, BookmarkTree::kValueRole).toInt(), 77);
        QCOMPARE(c->data(0, BookmarkTree::kStateImageRole).toInt(), 0x2000);
        QVERIFY(!copy->isExpanded());
        QVERIFY(t.root->isExpanded());
        QCOMPARE(t.tree.currentItem(), copy);
    }

    void refusedDiskMoveLeavesTreeUnchanged() {
        SampleTree t;
        t.host.answer = DiskChange::Refused;
        QVERIFY(!t.tree.moveItem(t.news, t.a));
        QCOMPARE(t.news->parent(), t.root);
        t.host.answer = DiskChange::Reload;
        t.tree.moveItem(t.news, t.a);
        QCOMPARE(t.host.calls.last(), QString("refill"));
    }

    void dropsOntoLastItemCrossed() {
        SampleTree t;
        QMimeData data;
        data.setData("application/x-quellcore-bookmark-item", QByteArray());
        t.tree.beginItemDrag(t.news);
        QVERIFY(t.tree.isDragging());
        sendDragEnter(t.tree, t.tree.visualItemRect(t.root).center(), data);
        sendDragMove(t.tree, t.tree.visualItemRect(t.a).center(), data);
        QCOMPARE(t.tree.dropTarget(), t.a);
        // Empty space below the items keeps the last target.
        QPoint empty(10, t.tree.viewport()->height() - 5);
        QVERIFY(!t.tree.itemAt(empty));
        sendDragMove(t.tree, empty, data);
        QCOMPARE(t.tree.dropTarget(), t.a);
        QDropEvent drop(empty, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t.tree.viewport(), &drop);
        QVERIFY(!t.tree.isDragging());
        QCOMPARE(t.host.calls, QStringList{"move Favorites/News.url -> Favorites/A/"});
        QVERIFY(findItem(&t.tree, "Favorites/A/News.url"));
    }

    void releaseOutsideTheTreeDropsOntoLastItemCrossed() {
        SampleTree t;
        QMimeData data;
        data.setData("application/x-quellcore-bookmark-item", QByteArray());
        t.tree.beginItemDrag(t.news);
        sendDragEnter(t.tree, t.tree.visualItemRect(t.root).center(), data);
        sendDragMove(t.tree, t.tree.visualItemRect(t.a).center(), data);
        QDragLeaveEvent leave;
        QApplication::sendEvent(t.tree.viewport(), &leave);
        // The button comes up outside: no drop event reaches the tree.
        QVERIFY(t.tree.endDragWithoutDrop());
        QVERIFY(!t.tree.isDragging());
        QCOMPARE(t.host.calls, QStringList{"move Favorites/News.url -> Favorites/A/"});
        QVERIFY(findItem(&t.tree, "Favorites/A/News.url"));
        // After a drop inside, the end of the platform's drag changes nothing.
        QVERIFY(!t.tree.endDragWithoutDrop());
    }

    void releaseBackOnDraggedItemDoesNothing() {
        SampleTree t;
        t.tree.beginItemDrag(t.a);
        t.tree.dragOver(t.tree.visualItemRect(t.b).center());
        t.tree.dragOver(t.tree.visualItemRect(t.a).center());
        QVERIFY(!t.tree.finishItemDrag());
        QVERIFY(t.host.calls.isEmpty());
        // The drop highlight is gone again.
        QVERIFY(!t.a->data(0, Qt::BackgroundRole).isValid());
        QVERIFY(!t.b->data(0, Qt::BackgroundRole).isValid());
    }

    void deleteKeyRunsDialogDeleteOnlyWithSelection() {
        SampleTree t;
        t.tree.setCurrentItem(nullptr);
        QTest::keyClick(&t.tree, Qt::Key_Delete);
        QVERIFY(t.host.calls.isEmpty());
        t.tree.setCurrentItem(t.news);
        QTest::keyClick(&t.tree, Qt::Key_Delete);
        QCOMPARE(t.host.calls, QStringList{"delete"});
    }

    void failedRenameKeepsOldLabel() {
        SampleTree t;
        t.tree.setCurrentItem(t.c);
        t.tree.editItem(t.c);
        QVERIFY(t.tree.isEditing());
        t.host.answer = DiskChange::Refused;
        t.tree.finishRename(t.c, "D.url");
        QCOMPARE(t.host.calls, QStringList{"rename Favorites/A/B/C.url -> D.url"});
        QCOMPARE(t.c->text(0), QString("C.url"));
    }

    // A renamed root is a label only; a renamed bookmark keeps its extension.
    void renamesKeepPathsInsideAndBookmarksBookmarks() {
        auto rename = [](SampleTree& t, QTreeWidgetItem* item, const QString& label) {
            t.tree.setCurrentItem(item);
            t.tree.editItem(item);
            QVERIFY(t.tree.isEditing());
            t.tree.finishRename(item, label);
        };
        SampleTree root;
        rename(root, root.root, "x/..");
        QCOMPARE(root.root->text(0), QString("x/.."));
        QCOMPARE(BookmarkTree::treePath(root.c), QString("Favorites/A/B/C.url"));
        SampleTree typed;
        rename(typed, typed.c, "Mail");
        QCOMPARE(typed.c->text(0), QString("Mail.url"));
        SampleTree kept;
        rename(kept, kept.news, "Daily.URL");
        QCOMPARE(typed.host.calls + kept.host.calls,
                 (QStringList{"rename Favorites/A/B/C.url -> Mail.url", "rename Favorites/News.url -> Daily.URL"}));
    }

    // The whole path with the dialog: a folder dropped onto the root moves
    // on disk with everything in it and shows collapsed under the root.
    void dropOntoRootMovesFolderWithContentsOnDisk() {
        bookmark_test::DialogFixture f;
        f.favorites.shortcut("A/B/C.url", "http://c/");
        f.favorites.shortcut("A/B/D.url", "http://d/");
        auto dialog = f.open();
        dialog->tree()->expandAll();
        QTreeWidgetItem* root = dialog->tree()->topLevelItem(0);
        QVERIFY(dialog->tree()->moveItem(findItem(dialog->tree(), "Favorites/A/B"), root));
        QVERIFY(f.favorites.exists("B/C.url"));
        QVERIFY(f.favorites.exists("B/D.url"));
        QVERIFY(!f.favorites.exists("A/B"));
        QTreeWidgetItem* moved = findItem(dialog->tree(), "Favorites/B");
        QVERIFY(moved);
        QVERIFY(!moved->isExpanded());
        QCOMPARE(childLabels(moved), (QStringList{"C.url", "D.url"}));
        QVERIFY(f.prompt.failures.empty());
    }

    void moveOntoSameNameAsksAndRefillsFromDisk() {
        bookmark_test::DialogFixture f;
        f.favorites.shortcut("X.url", "http://new/");
        f.favorites.shortcut("Work/X.url", "http://old/");
        f.prompt.answers = {false};
        auto dialog = f.open();
        QVERIFY(!dialog->tree()->moveItem(findItem(dialog->tree(), "Favorites/X.url"),
                                          findItem(dialog->tree(), "Favorites/Work")));
        QCOMPARE(f.prompt.replaceQuestions, 1);
        QVERIFY(findItem(dialog->tree(), "Favorites/X.url"));
        QCOMPARE(f.favorites.read("Work/X.url"), QByteArray("[InternetShortcut]\r\nURL=http://old/\r\n"));

        dialog->tree()->moveItem(findItem(dialog->tree(), "Favorites/X.url"),
                                 findItem(dialog->tree(), "Favorites/Work"));
        QCOMPARE(f.favorites.read("Work/X.url"), QByteArray("[InternetShortcut]\r\nURL=http://new/\r\n"));
        QCOMPARE(childLabels(dialog->tree()->topLevelItem(0)), QStringList{"Work"});
        QCOMPARE(childLabels(findItem(dialog->tree(), "Favorites/Work")), QStringList{"X.url"});
    }
};

QTEST_MAIN(BookmarkTreeTest)
#include "bookmark_tree_test.moc"
