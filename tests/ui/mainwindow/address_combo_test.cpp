#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

#include "core/browser/typed_url_history.h"
#include "core/registry/registry_file.h"
#include "core/registry/registry_reader.h"
#include "ui/mainwindow/address_combo.h"

using namespace quell;
using quell::ui::AddressCombo;

class AddressComboTest : public QObject {
    Q_OBJECT

    AddressCombo* m_combo = nullptr;
    std::vector<std::string> m_navigated;

private slots:
    void init() {
        m_navigated.clear();
        m_combo = new AddressCombo({"example.com/", "exam.org/", "other.net/"},
                                   [this](const std::string& url) { m_navigated.push_back(url); });
        m_combo->resize(300, 24);
        m_combo->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_combo));
        m_combo->lineEdit()->setFocus();
    }

    void cleanup() { delete m_combo; }

    void historyFromRegistryKeepsOrderAndCleansUp() {
        const std::string reg =
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs]\r\n"
            "\"url1\"=\"Http://Www.Example.COM/Path\"\r\n"
            "\"url3\"=\"HTTPS://SECURE.EXAMPLE/\"\r\n"
            "\"url4\"=\"ftp://Files.Example/\"\r\n"
            "\"url20\"=\"http://never.example/\"\r\n";
        auto file = std::make_shared<registry::RegistryFile>(registry::RegistryFile::Parse(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(reg.data()), reg.size())));
        const registry::RegistryReader reader(file, "");
        AddressCombo combo(browser::LoadTypedUrlHistory(reader), {});
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.itemText(0), QStringLiteral("www.example.com/path"));
        QCOMPARE(combo.itemText(1), QStringLiteral("secure.example/"));
        QCOMPARE(combo.itemText(2), QStringLiteral("ftp://files.example/"));
        QVERIFY(combo.isEditable());
    }

    void typingCompletesAndBackspaceStopsCompletion() {
        QLineEdit* edit = m_combo->lineEdit();
        QTest::keyClicks(edit, QStringLiteral("exa"));
        QCOMPARE(edit->text(), QStringLiteral("example.com/"));
        QCOMPARE(edit->selectedText(), QStringLiteral("mple.com/"));
        QCOMPARE(edit->selectionStart(), 3);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("exa"));
        QVERIFY(!m_combo->completionEnabled());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("ex"));
        // The next ordinary key completes again, from the top of the list.
        QTest::keyClick(edit, Qt::Key_A);
        QCOMPARE(edit->text(), QStringLiteral("example.com/"));
        QTest::keyClicks(edit, QStringLiteral("m."));
        QCOMPARE(edit->text(), QStringLiteral("exam.org/"));
        QCOMPARE(edit->selectedText(), QStringLiteral("org/"));
        QTest::keyClicks(edit, QStringLiteral("zz"));
        QCOMPARE(edit->text(), QStringLiteral("exam.zz"));
        QCOMPARE(edit->cursorPosition(), 7);
        QVERIFY(m_navigated.empty());
    }

    void caretInsideTextStaysWhereItWas() {
        QLineEdit* edit = m_combo->lineEdit();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QStringLiteral("exple"));
        QVERIFY(m_combo->completionEnabled());
        edit->setCursorPosition(2);
        QTest::keyClick(edit, Qt::Key_A);
        // "exaple" matches nothing; the caret stays after the typed letter.
        QCOMPARE(edit->text(), QStringLiteral("exaple"));
        QCOMPARE(edit->cursorPosition(), 3);
        QTest::keyClick(edit, Qt::Key_M);
        QCOMPARE(edit->text(), QStringLiteral("example.com/"));
        QCOMPARE(edit->cursorPosition(), 4);
        QVERIFY(!edit->hasSelectedText());
    }

    void enterNavigatesExactTextAndEmptyDoesNothing() {
        QLineEdit* edit = m_combo->lineEdit();
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(m_navigated.empty());
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QStringLiteral("Intranet"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_navigated, std::vector<std::string>{"Intranet"});
        // Typed text never joins the list.
        QCOMPARE(m_combo->count(), 3);
        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(m_navigated.size(), size_t(2));
    }

    void choosingEntryNavigatesCompletionDoesNot() {
        QTest::keyClicks(m_combo->lineEdit(), QStringLiteral("oth"));
        QCOMPARE(m_combo->currentIndex(), 2);
        QVERIFY(m_navigated.empty());
        m_combo->showPopup();
        QAbstractItemView* view = m_combo->view();
        const QModelIndex first = view->model()->index(0, 0);
        view->setCurrentIndex(first);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(m_navigated, std::vector<std::string>{"example.com/"});
    }
};

QTEST_MAIN(AddressComboTest)
#include "address_combo_test.moc"
