#include <QApplication>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include "ui/mainwindow/main_skin_window.h"

using quell::ui::MainSkinWindow;

class MainSkinWindowTest : public QObject {
    Q_OBJECT
private slots:
    void takesTheFrameSizeAndTheOutlineAsMask();
    void closesWithoutAFrame();
};

void MainSkinWindowTest::takesTheFrameSizeAndTheOutlineAsMask() {
    const std::string media = QUELL_TEST_DATA_DIR "/skin/";
    MainSkinWindow window(media + "testskin.ini", media);
    QVERIFY(window.LoadSkin());
    QCOMPARE(window.size(), QSize(240, 180));
    QCOMPARE(window.pos(), QPoint(0, 0));

    // The octagon cuts 24 pixels off every corner.
    const QRegion mask = window.mask();
    QVERIFY(!mask.isEmpty());
    QVERIFY(!mask.contains(QPoint(2, 2)));
    QVERIFY(!mask.contains(QPoint(237, 177)));
    QVERIFY(mask.contains(QPoint(120, 90)));
    QVERIFY(mask.contains(QPoint(2, 90)));

    QVERIFY(window.browserView());
    QCOMPARE(window.browserView()->geometry(), QRect(20, 30, 200, 130));
}

void MainSkinWindowTest::closesWithoutAFrame() {
    QTemporaryDir dir;
    QFile ini(dir.filePath("empty.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[WebBrowser]\nPosition=1,2,3,4\n");
    ini.close();
    MainSkinWindow window(ini.fileName().toStdString(), dir.path().toStdString() + "/");
    QVERIFY(!window.LoadSkin());
    QVERIFY(!window.browserView());
}

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MainSkinWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_skin_window_test.moc"
