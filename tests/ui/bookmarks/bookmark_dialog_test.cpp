// BookmarkDialog over a temporary Favorites folder, offscreen.
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include "bookmark_test_support.h"
#include "core/bookmarks/shortcut_file.h"
#include "ui/bookmarks/bookmark_dialog.h"
#include "ui/bookmarks/bookmark_tree.h"
#include "ui/bookmarks/new_folder_dialog.h"
#include "ui/controls/flat_icon_button.h"

using namespace quell::ui;
using bookmark_test::childLabels;
using Fixture = bookmark_test::DialogFixture;
using bookmark_test::findItem;

// Selects the item at the path and opens its in-place rename; the edit box, or null.
QLineEdit* startRename(BookmarkDialog* dialog, const QString& path) {
    dialog->tree()->setCurrentItem(findItem(dialog->tree(), path));
    dialog->renameSelected();
    return dialog->tree()->viewport()->findChild<QLineEdit*>();
}

// Types the new label over the old one and presses the key that ends the
// edit; whether the edit then ended.
bool finishRename(BookmarkDialog* dialog, QLineEdit* editor, const QString& label, Qt::Key key = Qt::Key_Return) {
    editor->selectAll();
    QTest::keyClicks(editor, label);
    QTest::keyClick(editor, key);
    return QTest::qWaitFor([dialog] { return !dialog->tree()->isEditing(); });
}

// A double click as the platform delivers it: a click, then the second
// press that arrives as a double click.
void doubleClick(QTreeWidget* tree, QPoint at) {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

class BookmarkDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsFolderAsTreeUnderExpandedRoot() {
        Fixture f;
        f.favorites.shortcut("News.url", "http://news/");
        f.favorites.shortcut("Work/Mail.url", "http://mail/");
        f.favorites.write("readme.txt", "text");
        auto dialog = f.open();
        BookmarkTree* tree = dialog->tree();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString("Favorites"));
        QVERIFY(root->isExpanded());
        QCOMPARE(childLabels(root), (QStringList{"News.url", "Work"}));
        QVERIFY(!findItem(tree, "Favorites/Work")->isExpanded());
        QVERIFY(BookmarkTree::isBookmark(findItem(tree, "Favorites/Work/Mail.url")));
        QVERIFY(!BookmarkTree::isBookmark(findItem(tree, "Favorites/Work")));
        QVERIFY(!BookmarkTree::isBookmark(root));
    }

    void hasTitleSizeColoursAndTooltips() {
        Fixture f;
        auto dialog = f.open();
        QCOMPARE(dialog->windowTitle(), QString("Bookmark"));
        QCOMPARE(dialog->font().family(), QString("MS Sans Serif"));
        QCOMPARE(dialog->font().pixelSize(), 11);
        QCOMPARE(dialog->minimumSize(), QSize(266, 350));
        QCOMPARE(dialog->size(), QSize(266, 350));
        QCOMPARE(dialog->tree()->palette().color(QPalette::Base), QColor(239, 255, 239));
        QCOMPARE(dialog->tree()->geometry(), QRect(0, 38, 266, 312));
        dialog->resize(400, 500);
        QCOMPARE(dialog->tree()->geometry(), QRect(0, 38, 400, 462));
        QCOMPARE(dialog->addButton()->toolTip(), QString("Add current page to bookmark"));
        QCOMPARE(dialog->deleteButton()->toolTip(), QString("Delete a selected bookmark"));
        QCOMPARE(dialog->newFolderButton()->toolTip(), QString("Make a new bookmark folder"));
        QCOMPARE(dialog->addButton()->activeTextColour(), QColor(0, 100, 0));
        QCOMPARE(dialog->deleteButton()->activeTextColour(), QColor(192, 0, 0));
        QCOMPARE(dialog->newFolderButton()->activeTextColour(), QColor(0, 0, 192));
        QCOMPARE(dialog->newFolderButton()->inactiveTextColour(), QColor(127, 127, 127));
    }

    void addPutsPageAtTopLevelUnderItsCleanedTitle() {
        Fixture f;
        f.favorites.mkdir("Work");
        auto dialog = f.open("News: today/now", "http://news/today");
        dialog->tree()->setCurrentItem(findItem(dialog->tree(), "Favorites/Work"));
        dialog->addButton()->click();
        QCOMPARE(f.prompt.replaceQuestions, 0);
        QCOMPARE(f.favorites.read("News- today-now.url"),
                 QByteArray("[InternetShortcut]\r\nURL=http://news/today\r\n"));
        QTreeWidgetItem* added = findItem(dialog->tree(), "Favorites/News- today-now.url");
        QVERIFY(added);
        QVERIFY(BookmarkTree::isBookmark(added));
        QCOMPARE(dialog->tree()->currentItem(), added);
        QCOMPARE(findItem(dialog->tree(), "Favorites/Work")->childCount(), 0);
    }

    void addingOverAnExistingBookmarkAsksFirst() {
        // Replaced, the file takes the new address and the tree shows both
        // items until it is filled again; declined, nothing changes.
        for (const bool replace : {true, false}) {
            Fixture f;
            f.favorites.shortcut("Page.url", "http://mine/");
            auto dialog = f.open("Page", "http://other/");
            f.prompt.answers = {replace};
            dialog->addCurrentPage();
            QCOMPARE(f.prompt.replaceQuestions, 1);
            QCOMPARE(f.favorites.read("Page.url"),
                     QByteArray("[InternetShortcut]\r\nURL=http://") + (replace ? "other" : "mine") + "/\r\n");
            QCOMPARE(childLabels(dialog->tree()->topLevelItem(0)),
                     replace ? (QStringList{"Page.url", "Page.url"}) : QStringList{"Page.url"});
            dialog->refill();
            QCOMPARE(childLabels(dialog->tree()->topLevelItem(0)), QStringList{"Page.url"});
        }
    }

    void addWithoutTitleOrIntoMissingFolderAddsNothing() {
        Fixture f;
        auto blank = f.open(QString(), "about:blank");
        blank->addCurrentPage();
        QCOMPARE(blank->tree()->topLevelItem(0)->childCount(), 0);

        BookmarkDialog::Services services;
        services.favoritesFolder = f.favorites.folder() + "missing/";
        services.prompt = &f.prompt;
        BookmarkDialog broken("Page", "http://p/", services);
        broken.addCurrentPage();
        // A bookmark that could not be saved is reported, not shown.
        QCOMPARE(f.prompt.failures.size(), size_t(1));
        QCOMPARE(broken.tree()->topLevelItem(0)->childCount(), 0);
    }

    void newFolderUnderBookmarkDoesNothing() {
        Fixture f;
        f.favorites.shortcut("News.url", "http://news/");
        auto dialog = f.open();
        f.folderAnswer = QString("X");
        dialog->tree()->setCurrentItem(findItem(dialog->tree(), "Favorites/News.url"));
        dialog->newFolderButton()->click();
        QCOMPARE(f.folderQuestions, 0);
        QVERIFY(!f.favorites.exists("X"));
    }

    void newFolderGoesIntoSelectedFolder() {
        Fixture f;
        f.favorites.mkdir("Work");
        auto dialog = f.open();
        f.folderAnswer = QString("Projects");
        QTreeWidgetItem* work = findItem(dialog->tree(), "Favorites/Work");
        dialog->tree()->setCurrentItem(work);
        dialog->newFolder();
        QVERIFY(QFileInfo(f.favorites.path("Work/Projects")).isDir());
        QTreeWidgetItem* made = findItem(dialog->tree(), "Favorites/Work/Projects");
        QVERIFY(made);
        QVERIFY(work->isExpanded());
        QCOMPARE(dialog->tree()->currentItem(), made);

        dialog->tree()->setCurrentItem(nullptr);
        f.folderAnswer = QString("Top");
        dialog->newFolder();
        QVERIFY(QFileInfo(f.favorites.path("Top")).isDir());
        QVERIFY(findItem(dialog->tree(), "Favorites/Top"));
    }

    void newFolderThatCannotBeMadeChangesNothing() {
        Fixture f;
        f.favorites.mkdir("Work");
        auto dialog = f.open();
        const QString names[] = {"Work", "a/b", "..", ""};
        for (const QString& name : names) {
            f.folderAnswer = name;
            dialog->tree()->setCurrentItem(dialog->tree()->topLevelItem(0));
            dialog->newFolder();
        }
        f.folderAnswer.reset();  // cancelled
        dialog->newFolder();
        QCOMPARE(childLabels(dialog->tree()->topLevelItem(0)), QStringList{"Work"});
        QVERIFY(f.prompt.failures.empty());
        QVERIFY(!f.favorites.exists("a"));
    }

    void deleteOnRootDoesNothing() {
        Fixture f;
        f.favorites.shortcut("News.url", "http://news/");
        auto dialog = f.open();
        dialog->tree()->setCurrentItem(dialog->tree()->topLevelItem(0));
        dialog->deleteButton()->click();
        QTest::keyClick(dialog->tree(), Qt::Key_Delete);
        QCOMPARE(f.prompt.deleteQuestions, 0);
        QVERIFY(f.favorites.exists("News.url"));
        QVERIFY(dialog->isVisible());
    }

    void deleteAsksRemovesFolderAndRefills() {
        Fixture f;
        f.favorites.shortcut("Work/Mail.url", "http://mail/");
        f.favorites.shortcut("News.url", "http://news/");
        auto dialog = f.open();
        dialog->tree()->expandAll();
        dialog->tree()->setCurrentItem(findItem(dialog->tree(), "Favorites/Work"));
        f.prompt.answers = {false};
        QTest::keyClick(dialog->tree(), Qt::Key_Delete);
        QCOMPARE(f.prompt.deleteQuestions, 1);
        QVERIFY(f.favorites.exists("Work/Mail.url"));

        dialog->tree()->setCurrentItem(findItem(dialog->tree(), "Favorites/Work"));
        dialog->deleteSelected();
        QCOMPARE(f.prompt.deleteQuestions, 2);
        QVERIFY(!f.favorites.exists("Work"));
        QCOMPARE(childLabels(dialog->tree()->topLevelItem(0)), QStringList{"News.url"});
    }

    void doubleClickOnBookmarkChoosesItsUrl() {
        Fixture f;
        f.favorites.shortcut("News.url", "http://news/");
        auto dialog = f.open();
        QTreeWidgetItem* news = findItem(dialog->tree(), "Favorites/News.url");
        QPoint at = dialog->tree()->visualItemRect(news).center();
        doubleClick(dialog->tree(), at);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->chosenUrl(), QString("http://news/"));
    }

    void shortcutsAsBrowsersWriteThemOpenTheirUrl() {
        // Internet Explorer 10 and 11 put IDList= first; a non-Unicode system
        // adds the UTF-7 URL in [InternetShortcut.W]; a property store may lead.
        const std::pair<const char*, QByteArray> files[] = {
            {"Ie11.url",
             "[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nIDList=\r\nURL=http://ie/\r\n"
             "IconIndex=13\r\n"},
            {"Store.url",
             "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,11\r\n[InternetShortcut]\r\n"
             "IDList=\r\nURL=http://store/\r\n"},
            {"Wide.url", "[InternetShortcut]\r\nURL=http://caf?/\r\n[InternetShortcut.W]\r\nURL=http://caf+AOk-/\r\n"},
        };
        const QString expected[] = {"http://ie/", "http://store/", QString::fromUtf8("http://caf\xC3\xA9/")};
        for (size_t i = 0; i < std::size(files); ++i) {
            Fixture f;
            f.favorites.write(files[i].first, files[i].second);
            auto dialog = f.open();
            dialog->openItem(findItem(dialog->tree(), QString("Favorites/") + files[i].first));
            QCOMPARE(dialog->chosenUrl(), expected[i]);
        }
    }

    void doubleClickOnFolderOnlyTogglesIt() {
        Fixture f;
        f.favorites.shortcut("Work/Mail.url", "http://mail/");
        f.favorites.write("Broken.url", "no header");
        auto dialog = f.open();
        QTreeWidgetItem* work = findItem(dialog->tree(), "Favorites/Work");
        QPoint at = dialog->tree()->visualItemRect(work).center();
        doubleClick(dialog->tree(), at);
        QVERIFY(work->isExpanded());
        dialog->openItem(findItem(dialog->tree(), "Favorites/Broken.url"));
        dialog->openItem(dialog->tree()->topLevelItem(0));
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->chosenUrl().isEmpty());
    }

    void escapeClosesWithoutUrlAndEnterAccepts() {
        Fixture f;
        auto dialog = f.open();
        dialog->tree()->setFocus();
        QTest::keyClick(dialog->tree(), Qt::Key_Escape);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(!dialog->isVisible());
        QVERIFY(dialog->chosenUrl().isEmpty());

        auto second = f.open();
        second->tree()->setFocus();
        QTest::keyClick(second->tree(), Qt::Key_Return);
        QCOMPARE(second->result(), int(QDialog::Accepted));
        QVERIFY(second->chosenUrl().isEmpty());
    }

    void contextMenuCommandsExpandCollapseAndSelectRoot() {
        Fixture f;
        f.favorites.shortcut("A/B/C.url", "http://c/");
        auto dialog = f.open();
        QList<QAction*> actions = dialog->contextMenu()->actions();
        QCOMPARE(actions.size(), 5);
        QVERIFY(actions[2]->isSeparator());
        // The captions are the Favorite menu's own.
        const QStringList captions = {"開く", "閉じる", "", "削除", "名前の変更"};
        for (int i = 0; i < 5; ++i) QCOMPARE(actions[i]->text(), captions[i]);
        QCOMPARE(dialog->contextMenu()->title(), QStringLiteral("Favorite"));
        dialog->tree()->setCurrentItem(findItem(dialog->tree(), "Favorites/A"));
        actions[0]->trigger();
        QVERIFY(findItem(dialog->tree(), "Favorites/A/B")->isExpanded());
        QCOMPARE(dialog->tree()->currentItem(), dialog->tree()->topLevelItem(0));
        actions[1]->trigger();
        QVERIFY(!dialog->tree()->topLevelItem(0)->isExpanded());
        QVERIFY(!findItem(dialog->tree(), "Favorites/A/B")->isExpanded());
    }

    void renameEndsWithEnterOrEscapeAndKeepsDialogOpen() {
        // Enter renames the file; Escape keeps the old name. Either way the
        // key ends only the edit, never the dialog.
        for (const bool accept : {true, false}) {
            Fixture f;
            f.favorites.shortcut("Old.url", "http://o/");
            auto dialog = f.open();
            QTreeWidgetItem* item = findItem(dialog->tree(), "Favorites/Old.url");
            auto* editor = startRename(dialog.get(), "Favorites/Old.url");
            QVERIFY(editor);
            QVERIFY(dialog->tree()->isEditing());
            QCOMPARE(dialog->tree()->oldLabel(), QString("Old.url"));
            QVERIFY(finishRename(dialog.get(), editor, "New.url", accept ? Qt::Key_Return : Qt::Key_Escape));
            const QString kept = accept ? "New.url" : "Old.url";
            const QString gone = accept ? "Old.url" : "New.url";
            QCOMPARE(item->text(0), kept);
            QVERIFY(f.favorites.exists(kept));
            QVERIFY(!f.favorites.exists(gone));
            QVERIFY(dialog->isVisible());
        }
    }

    void renameEditorLimitsLengthAndKeepsDeleteKey() {
        Fixture f;
        f.favorites.shortcut("Old.url", "http://o/");
        auto dialog = f.open();
        auto* editor = startRename(dialog.get(), "Favorites/Old.url");
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QString(130, 'x'));
        QCOMPARE(editor->text().size(), 127);
        QTest::keyClick(editor, Qt::Key_Home);
        QTest::keyClick(editor, Qt::Key_Delete);
        QCOMPARE(editor->text().size(), 126);
        QCOMPARE(f.prompt.deleteQuestions, 0);
        QVERIFY(f.favorites.exists("Old.url"));
    }

    void renameOntoExistingNameIsRefusedAndLabelKept() {
        Fixture f;
        f.favorites.shortcut("A.url", "http://a/");
        f.favorites.shortcut("B.url", "http://b/");
        auto dialog = f.open();
        QTreeWidgetItem* a = findItem(dialog->tree(), "Favorites/A.url");
        auto* editor = startRename(dialog.get(), "Favorites/A.url");
        QVERIFY(editor);
        QVERIFY(finishRename(dialog.get(), editor, "B.url"));
        QCOMPARE(f.prompt.failures.size(), size_t(1));
        QCOMPARE(a->text(0), QString("A.url"));
        QCOMPARE(f.favorites.read("A.url"), QByteArray("[InternetShortcut]\r\nURL=http://a/\r\n"));
        QCOMPARE(f.favorites.read("B.url"), QByteArray("[InternetShortcut]\r\nURL=http://b/\r\n"));
    }

    void renamingRootChangesOnlyItsLabel() {
        Fixture f;
        f.favorites.shortcut("News.url", "http://news/");
        auto dialog = f.open();
        QTreeWidgetItem* root = dialog->tree()->topLevelItem(0);
        auto* editor = startRename(dialog.get(), "Favorites");
        QVERIFY(editor);
        QVERIFY(finishRename(dialog.get(), editor, "Mine"));
        QCOMPARE(root->text(0), QString("Mine"));
        QVERIFY(f.prompt.failures.empty());
        // The tree still maps to the same folder under its new root label.
        dialog->openItem(findItem(dialog->tree(), "Mine/News.url"));
        QCOMPARE(dialog->chosenUrl(), QString("http://news/"));
        auto again = f.open();
        QCOMPARE(again->tree()->topLevelItem(0)->text(0), QString("Favorites"));
    }

    void newFolderDialogEnablesOkOnlyWithName() {
        NewFolderDialog dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("New Folder"));
        // 8 points at 96 dpi, by name as the skin's fonts are asked for.
        QCOMPARE(dialog.font().family(), QString("MS Sans Serif"));
        QCOMPARE(dialog.font().pixelSize(), 11);
        QVERIFY(!dialog.okButton()->isEnabled());
        QTest::keyClicks(dialog.nameField(), "a");
        QVERIFY(dialog.okButton()->isEnabled());
        QTest::keyClick(dialog.nameField(), Qt::Key_Backspace);
        QVERIFY(!dialog.okButton()->isEnabled());
        QTest::keyClick(dialog.nameField(), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QTest::keyClicks(dialog.nameField(), "Work");
        QTest::keyClick(dialog.nameField(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.folderName(), QString("Work"));
    }
};

QTEST_MAIN(BookmarkDialogTest)
#include "bookmark_dialog_test.moc"
