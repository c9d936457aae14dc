// The hosted browser's file and window policies, on local pages.
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include "core/browser/browser.h"
#include "core/browser/shell.h"
#include "ui/mainwindow/web_engine_browser.h"

using quell::ui::WebEngineBrowser;

namespace {

class RecordingShell final : public quell::browser::Shell {
public:
    QStringList calls;
    bool OpenAddress(const std::string& address) override {
        calls << "address " + QString::fromStdString(address);
        return true;
    }
    bool RunSkinEntry(const std::string& entry) override {
        calls << "entry " + QString::fromStdString(entry);
        return true;
    }
};

struct BrowserUnderTest {
    QTemporaryDir dir;
    QWidget window;
    RecordingShell shell;
    WebEngineBrowser browser{&window, shell};

    BrowserUnderTest() {
        window.resize(400, 400);
        browser.view()->setGeometry(0, 0, 400, 400);
        window.show();
    }
    QString page(const QString& name, const QString& html) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(html.toUtf8());
        return path;
    }
    bool load(const QString& path) {
        QSignalSpy finished(browser.view(), &QWebEngineView::loadFinished);
        browser.Navigate(QUrl::fromLocalFile(path).toString().toStdString());
        return finished.wait(20000) && finished.takeFirst().at(0).toBool();
    }
    static QString fileText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

}  // namespace

class WebEngineBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void saveWritesOnlyTheFileChosenForThatPage() {
        BrowserUnderTest t;
        QStringList asked;
        QStringList answers{t.dir.filePath("first.html"), t.dir.filePath("second.html")};
        t.browser.setSavePathChooser([&](const QString& suggested) {
            asked << suggested;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        const QString first = t.page("a.html", "<title>First</title><p>first page</p>");
        const QString second = t.page("b.html", "<title>Second</title><p>second page</p>");
        QVERIFY(t.load(first));
        t.browser.ExecDocumentCommand(quell::browser::CommandGroup::Standard, quell::browser::kCommandSaveAs);
        QTRY_VERIFY_WITH_TIMEOUT(t.fileText(t.dir.filePath("first.html")).contains("first page"), 10000);

        // Save on another page asks again rather than writing over first.html.
        QVERIFY(t.load(second));
        t.browser.ExecDocumentCommand(quell::browser::CommandGroup::Standard, quell::browser::kCommandSave);
        QTRY_VERIFY_WITH_TIMEOUT(t.fileText(t.dir.filePath("second.html")).contains("second page"), 10000);
        QCOMPARE(asked.size(), 2);

        // Back on the first page, Save goes to its own file without a question.
        QFile::remove(t.dir.filePath("first.html"));
        QVERIFY(t.load(first));
        t.browser.ExecDocumentCommand(quell::browser::CommandGroup::Standard, quell::browser::kCommandSave);
        QTRY_VERIFY_WITH_TIMEOUT(t.fileText(t.dir.filePath("first.html")).contains("first page"), 10000);
        QCOMPARE(asked.size(), 2);
        QVERIFY(t.fileText(t.dir.filePath("second.html")).contains("second page"));
    }

    void onlyClickedWebAndLocalWindowsReachTheDesktop() {
        BrowserUnderTest t;
        const QString target = t.page("target.html", "<p>target</p>");
        const QString link =
            "<a target=_blank style='position:absolute;left:0;width:400px;height:90px;top:%1px' "
            "href='%2'>x</a>";
        const QString html =
            "<body style='margin:0' onload=\"window.open('http://popup.invalid/')\">" +
            link.arg(0).arg("http://clicked.invalid/") + link.arg(100).arg(QUrl::fromLocalFile(target).toString()) +
            link.arg(200).arg("quell-unknown:run") + link.arg(300).arg("javascript:void(0)") + "</body>";
        QVERIFY(t.load(t.page("links.html", html)));
        QWidget* input = t.browser.view()->focusProxy();
        QVERIFY(input);
        QTest::qWait(500);
        QVERIFY2(t.shell.calls.isEmpty(), qPrintable(t.shell.calls.join(", ")));
        for (int y : {45, 145, 245, 345}) QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(200, y));
        const QStringList expected{"address http://clicked.invalid/",
                                   "address " + QUrl::fromLocalFile(target).toString()};
        QTRY_COMPARE_WITH_TIMEOUT(t.shell.calls.size(), 2, 10000);
        QTest::qWait(500);
        QCOMPARE(t.shell.calls, expected);
    }
};

QTEST_MAIN(WebEngineBrowserTest)
#include "web_engine_browser_test.moc"
