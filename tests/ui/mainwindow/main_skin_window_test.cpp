#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QPointer>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/command_codes.h"
#include "ui/controls/gif_animator.h"
#include "ui/mainwindow/web_engine_browser.h"

#include "core/image/bitmap_writer.h"
#include "core/image/gif_encoder.h"
#include "core/skin/outline_file.h"
#include "ui/controls/gradient_progress.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/control_id.h"
#include "ui/controls/standard_progress.h"
#include "ui/mainwindow/main_skin_window.h"
#include "smf_builder.h"

using quell::ui::MainSkinWindow;

namespace {

// One track of four short notes.
std::vector<uint8_t> shortSong() {
    quell::music::test::TrackBuilder track;
    for (uint8_t i = 0; i < 4; ++i) track.event(0, {0x90, uint8_t(60 + i), 100}).event(24, {0x80, uint8_t(60 + i), 0});
    return quell::music::test::smfFile({track.endOfTrack()}, 96, 0);
}

class RecordingSink final : public quell::MessageSink {
public:
    void showMessage(const std::string& text, quell::MessageIcon) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// A skin folder made by the test: a 200x150 frame with its outline, button
// bitmaps, a one-image GIF and the description given.
class SkinFolder {
public:
    explicit SkinFolder(const std::string& ini) {
        m_media = m_dir.path().toStdString() + "/Media/";
        QDir().mkpath(QString::fromStdString(m_media));
        writeBitmap("frame.bmp", 200, 150, 0xFF3060A0u);
        writeBitmap("b.bmp", 20, 20, 0xFFFF00FFu);
        write("frame.dat", quell::skin::EncodeOutline({{10, 0}, {190, 0}, {200, 75}, {190, 150}, {10, 150}, {0, 75}}));
        quell::image::GifFile gif;
        gif.globalColours = {0x000000, 0xFFFFFF};
        quell::image::GifFrame image;
        image.width = 8;
        image.height = 8;
        image.indices.assign(64, 1);
        image.delay = 5;
        gif.frames.push_back(image);
        write("busy.gif", quell::image::EncodeGif(gif));
        // Two images 10 ms apart: the worker is busy whenever the window closes.
        quell::image::GifFile fast = gif;
        fast.frames[0].delay = 1;
        fast.frames.push_back(fast.frames[0]);
        fast.frames[1].indices.assign(64, 0);
        write("fast.gif", quell::image::EncodeGif(fast));
        write("song.mid", shortSong());
        std::ofstream(m_media + "skin.ini") << ini;
    }
    void writeBitmap(const std::string& name, int w, int h, uint32_t colour) {
        quell::image::PixelImage image{w, h, std::vector<uint32_t>(static_cast<size_t>(w * h), colour)};
        write(name, quell::image::EncodeBitmap24(image));
    }
    void write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(m_media + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void remove(const std::string& name) { QFile::remove(QString::fromStdString(m_media + name)); }
    MainSkinWindow::Locations locations() const {
        return {m_media + "skin.ini", m_media, m_dir.path().toStdString() + "/"};
    }
    std::string media() const { return m_media; }

private:
    QTemporaryDir m_dir;
    std::string m_media;
};

const char* kFullSkin =
    "[FrameBitmap]\nFileName=frame.bmp\n"
    "[WebBrowser]\nPosition=10,40,190,120\n"
    "[AddressBar]\nPosition=10,10,190,30\n"
    "[StatusBar]\nPosition=10,125,150,140\nFontColor=255,0,0\n"
    "[ProgressBar]\nPosition=155,125,190,140\nGradient=true\nStartColor=255,255,255\nEndColor=0,128,255\n"
    "[NavigationGif]\nPosition=170,5,-1,-1\nFileName=busy.gif\n"
    "[Button]\nBackNo=1\nBack0=b.bmp,b.bmp,b.bmp,0,0,20,20,-1,,NULL\n"
    "ForwardNo=3\nForward0=b.bmp,b.bmp,b.bmp,20,0,20,20,16711935,Onward,NULL\n"
    "Forward1=b.bmp,b.bmp,b.bmp,40,0,20,20,-1,,NULL\n"
    "ExitNo=1\nExit0=b.bmp,b.bmp,b.bmp,180,0,20,20,-1,,NULL\n"
    "[Text]\nTextNo=1\nText0=,0,255,0,9,0,0,0,60,0,50,15,home,Home\n";

// The full skin with everything that runs on its own: a busy animation and two
// pictures on fast GIFs, and repeating music.
const std::string kLivelySkin = std::string(kFullSkin) +
                                "[AnimationGif]\nNumberOfGif=2\nGif0=fast.gif,100,5\nGif1=fast.gif,120,5\n"
                                "[Sound]\nFileName=song.mid\nRepeat=ON\n";

void runEventsFor(int ms) { QTest::qWait(ms); }

}  // namespace

class MainSkinWindowTest : public QObject {
    Q_OBJECT

    // Makes the skin and a window on it; both last until the test ends.
    MainSkinWindow& open(const std::string& ini) {
        m_window.reset();
        m_skin = std::make_unique<SkinFolder>(ini);
        m_sink.messages.clear();
        m_window = std::make_unique<MainSkinWindow>(m_skin->locations(), &m_sink);
        return *m_window;
    }
    std::unique_ptr<SkinFolder> m_skin;
    RecordingSink m_sink;
    std::unique_ptr<MainSkinWindow> m_window;

private slots:
    void cleanup() {
        m_window.reset();
        m_skin.reset();
        m_sink.messages.clear();
    }

    void startsTheBrowserOnceTheFrameIsPainted() {
        // The engine holds the thread while it starts, so it must not start
        // before the frame has been painted.
        MainSkinWindow& window = open(kFullSkin);
        QVERIFY(window.Initialise());
        QVERIFY(!window.webBrowser()->hasView());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.webBrowser()->hasView());
        QWebEngineView* view = window.webBrowser()->view();
        QCOMPARE(view->geometry(), QRect(10, 40, 180, 80));
        QVERIFY(view->isVisible());
        QVERIFY(window.webBrowser()->HasDocument());
    }

    void reloadsTheSkinInPlaceKeepingThePage() {
        MainSkinWindow& window = open(kFullSkin);
        QVERIFY(window.Initialise());
        window.show();
        QWebEngineView* view = qobject_cast<QWebEngineView*>(window.controlById(quell::ids::kBrowser));
        QVERIFY(view);
        view->setUrl(QUrl(QStringLiteral("about:blank#kept")));
        QPointer<quell::ui::HoverLabel> oldLabel = window.findChild<quell::ui::HoverLabel*>();
        QVERIFY(oldLabel);

        // A larger frame, the browser elsewhere, one Back button, no text labels.
        m_skin->writeBitmap("big.bmp", 260, 180, 0xFF20A040u);
        m_skin->write("big.dat", quell::skin::EncodeOutline({{0, 0}, {260, 0}, {260, 180}, {0, 180}}));
        std::ofstream(m_skin->media() + "skin.ini")
            << "[FrameBitmap]\nFileName=big.bmp\n"
               "[WebBrowser]\nPosition=20,50,240,170\n"
               "[Button]\nBackNo=1\nBack0=b.bmp,b.bmp,b.bmp,0,0,20,20,-1,,NULL\n";
        QVERIFY(window.ReloadSkin());
        QCOMPARE(window.size(), QSize(260, 180));
        QCOMPARE(window.controlById(quell::ids::kBrowser), view);
        QCOMPARE(view->geometry(), QRect(20, 50, 220, 120));
        QCOMPARE(view->url(), QUrl(QStringLiteral("about:blank#kept")));
        QVERIFY(oldLabel.isNull());
        QCOMPARE(window.skinButtons(1).size(), size_t(1));
        QCOMPARE(window.skinButtons(2).size(), size_t(0));
        QVERIFY(window.skinButtons(1)[0]->isVisible());
        QCOMPARE(m_sink.messages.size() ? QString::fromStdString(m_sink.messages[0]) : QString(), QString());
    }

    void productPageIsBuiltIn() {
        // The Go button's page must open without a network.
        QVERIFY(QFile::exists(QStringLiteral(":/quell/product.html")));
    }

    void takesTheFrameSizeAndTheOutlineAsMask() {
        const std::string media = QUELL_TEST_DATA_DIR "/skin/";
        MainSkinWindow window(MainSkinWindow::Locations{media + "testskin.ini", media, QUELL_TEST_DATA_DIR "/"},
                              &m_sink);
        QVERIFY(window.Initialise());
        QCOMPARE(window.geometry(), QRect(0, 0, 240, 180));

        // The octagon cuts 24 pixels off every corner.
        const QRegion mask = window.mask();
        QVERIFY(!mask.contains(QPoint(2, 2)));
        QVERIFY(!mask.contains(QPoint(237, 177)));
        QVERIFY(mask.contains(QPoint(120, 90)));
        QVERIFY(mask.contains(QPoint(2, 90)));
        QCOMPARE(window.controlById(101)->geometry(), QRect(20, 30, 200, 130));
        // Photo.bmp lies beside the program: the picture exists and no message was shown.
        QVERIFY(window.controlById(129));
        QVERIFY(m_sink.messages.empty());
    }

    void failsWithoutAFrame() {
        for (const char* ini : {"[WebBrowser]\nPosition=1,2,3,4\n", "[FrameBitmap]\nFileName=FALSE\n",
                                "[FrameBitmap]\nFileName=none.bmp\n"}) {
            MainSkinWindow& window = open(ini);
            QVERIFY2(!window.LoadSkin(), ini);
            QVERIFY(window.frame().isNull());
            QVERIFY(m_sink.messages.empty());
        }
    }

    void buildsElementsWithIdsTooltipsAndMessages() {
        MainSkinWindow& window = open(std::string(kFullSkin) + "[AnimationGif]\nNumberOfGif=1\nGif0=busy.gif,100,5\n");
        QVERIFY(window.Initialise());

        // Buttons take ids in kind order, then labels; Forward1 is missing its
        // bitmap-free sibling Forward2, which costs one empty message.
        QCOMPARE(window.skinButtons(1).size(), size_t(1));
        QCOMPARE(window.skinButtons(2).size(), size_t(2));
        QCOMPARE(window.skinButtons(7).size(), size_t(1));
        QCOMPARE(window.controlById(1025), window.skinButtons(1)[0]);
        QCOMPARE(window.controlById(1026), window.skinButtons(2)[0]);
        QCOMPARE(window.controlById(1027), window.skinButtons(2)[1]);
        QCOMPARE(window.controlById(1028), window.skinButtons(7)[0]);
        QCOMPARE(window.controlById(1029), window.textLabels()[0]);
        QCOMPARE(window.skinButtons(1)[0]->toolTip(), QStringLiteral("Back"));
        QCOMPARE(window.skinButtons(2)[0]->toolTip(), QStringLiteral("Onward"));
        QCOMPARE(window.skinButtons(2)[1]->index(), 1);

        // Photo.bmp is absent beside this skin's program: one bitmap message.
        std::vector<std::string> expected = {"", quell::ui::kBitmapUnreadableMessage};
        QCOMPARE(m_sink.messages, expected);

        QVERIFY(window.controlById(126));  // the Go button at the address bar's corner
        QCOMPARE(window.controlById(126)->pos(), QPoint(10, 10));
        QCOMPARE(window.controlById(102)->geometry().left(), 51);
        QVERIFY(qobject_cast<quell::ui::GradientProgress*>(window.controlById(104)));
        QVERIFY(!window.controlById(103));
        QVERIFY(window.controlById(125));
        QCOMPARE(window.controlById(125)->geometry(), QRect(10, 125, 140, 15));
        QVERIFY(window.controlById(115));
        QVERIFY(window.controlById(115)->isHidden());
        // The busy animation and every picture share one id.
        const auto animations = window.findChildren<quell::ui::GifAnimator*>();
        QCOMPARE(animations.size(), 2);
        for (const auto* animation : animations) QCOMPARE(quell::ui::controlId(animation), 2444);
    }

    void leavesOutMissingSections() {
        MainSkinWindow& window = open(
            "[FrameBitmap]\nFileName=frame.bmp\n[WebBrowser]\nPosition=10,40,190,120\n"
            "[ProgressBar]\nPosition=1,1,50,9\nGradient=no\nDirection=Vertical\nSmooth=true\n"
            "[Text]\nTextNo=2\nText0=,0,0,0,-1,0,0,0,1,1,10,10,,A\n");
        QVERIFY(window.Initialise());
        QVERIFY(!window.controlById(102));
        QVERIFY(!window.controlById(126));
        QVERIFY(!window.controlById(125));
        auto* standard = qobject_cast<quell::ui::StandardProgress*>(window.controlById(103));
        QVERIFY(standard);
        QCOMPARE(standard->orientation(), Qt::Vertical);
        QVERIFY(standard->isSmooth());
        QCOMPARE(window.textLabels().size(), size_t(1));
        // The label message comes while the lists are read, the Photo message after them.
        std::vector<std::string> expected = {"Failure in getting information of Text control.",
                                             quell::ui::kBitmapUnreadableMessage};
        QCOMPARE(m_sink.messages, expected);
    }

    void maximizedLayoutFollowsEverySizeChangeAndRestores() {
        MainSkinWindow& window = open(kFullSkin);
        QVERIFY(window.Initialise());
        window.show();
        // The animations run only while the skin is shown.
        const auto animations = window.findChildren<quell::ui::GifAnimator*>();
        QVERIFY(!animations.isEmpty() && animations[0]->onScreen());
        window.maximizeWindow();
        QVERIFY(window.windowIsMaximized());
        QVERIFY(!animations[0]->onScreen());
        QWidget* toolbar = window.controlById(quell::ids::kToolbar);
        QVERIFY(toolbar->isVisible());
        QCOMPARE(toolbar->geometry(), QRect(0, 0, window.width(), 28));
        QCOMPARE(window.controlById(quell::ids::kBrowser)->geometry(),
                 QRect(0, 28, window.width(), window.height() - 28));
        QVERIFY(!window.skinButtons(1)[0]->isVisible());
        QVERIFY(!window.controlById(102)->isVisible());
        QVERIFY(window.mask().isEmpty());
        // What a window manager does when the work area or the screen changes.
        window.resize(900, 700);
        QTRY_COMPARE(window.size(), QSize(900, 700));
        QCOMPARE(toolbar->geometry(), QRect(0, 0, 900, 28));
        QCOMPARE(window.controlById(quell::ids::kBrowser)->geometry(), QRect(0, 28, 900, 672));
        window.resize(640, 480);
        QTRY_COMPARE(window.controlById(quell::ids::kBrowser)->geometry(), QRect(0, 28, 640, 452));
        QCOMPARE(toolbar->width(), 640);

        window.restoreWindow();
        QVERIFY(!window.windowIsMaximized());
        QVERIFY(!toolbar->isVisible());
        QCOMPARE(window.size(), QSize(200, 150));
        QCOMPARE(window.controlById(quell::ids::kBrowser)->geometry(), QRect(10, 40, 180, 80));
        QVERIFY(window.skinButtons(1)[0]->isVisible());
        QVERIFY(!window.mask().contains(QPoint(1, 1)));
        QVERIFY(animations[0]->onScreen());
        window.hide();
        QVERIFY(!animations[0]->onScreen());
    }

    void onlyTheBareFrameDragsTheWindow() {
        MainSkinWindow& window = open(
            "[FrameBitmap]\nFileName=frame.bmp\n[WebBrowser]\nPosition=10,40,190,120\n"
            "[ProgressBar]\nPosition=150,125,190,140\n[AnimationGif]\nNumberOfGif=1\nGif0=busy.gif,100,5\n");
        QVERIFY(window.Initialise());
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        struct Case {
            const char* name;
            QWidget* target;
            QPoint at;
            bool drags;
        };
        const Case cases[] = {
            {"bare frame", &window, QPoint(60, 130), true},
            {"progress bar", window.controlById(103), QPoint(5, 5), false},
            {"animated picture", window.pictures().at(0), QPoint(3, 3), false},
        };
        for (const Case& c : cases) {
            QVERIFY2(c.target, c.name);
            const QPoint start = window.pos();
            QTest::mousePress(c.target, Qt::LeftButton, {}, c.at);
            const QPoint global = c.target->mapToGlobal(c.at) + QPoint(30, 20);
            QMouseEvent move(QEvent::MouseMove, window.mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(&window, &move);
            QTest::mouseRelease(c.target, Qt::LeftButton, {}, c.at);
            QCOMPARE(window.pos() != start, c.drags);
            window.move(start);
        }
    }

    void everyReadOfAMissingOutlineCostsOneMessage() {
        MainSkinWindow& window = open(kFullSkin);
        QVERIFY(window.Initialise());
        window.show();
        m_skin->remove("frame.dat");
        const size_t before = m_sink.messages.size();
        QVERIFY(!window.ApplyOutline());
        QCOMPARE(m_sink.messages.size(), before + 1);
        QCOMPARE(m_sink.messages.back(), std::string("アウトラインデータが開けません｡\""));
        // A short outline file is treated the same way.
        m_skin->write("frame.dat", {3, 0, 0, 0, 1, 0, 0, 0});
        QVERIFY(!window.ApplyOutline());
        QCOMPARE(m_sink.messages.size(), before + 2);

        // Maximizing needs no outline; restoring and coming back from the task bar read it once each.
        window.maximizeWindow();
        QCOMPARE(m_sink.messages.size(), before + 2);
        window.restoreWindow();
        QCOMPARE(m_sink.messages.size(), before + 3);
        window.minimizeWindow();
        QTRY_VERIFY(window.isMinimized());
        QCOMPARE(m_sink.messages.size(), before + 4);
        window.restoreWindow();
        QVERIFY(!window.isMinimized());
        QCOMPARE(m_sink.messages.size(), before + 5);
        QCOMPARE(m_sink.messages.back(), std::string(quell::ui::kOutlineUnreadableMessage));
    }

    void fontRules() {
        MainSkinWindow& window = open(kFullSkin);
        QWidget target;
        window.SetControlFont(&target, "", -1);
        QCOMPARE(target.font().family(), QStringLiteral("굴림"));
        QCOMPARE(target.font().pixelSize(), 12);  // 9 points at 96 dpi
        window.SetControlFont(&target, std::string(40, 'F'), 8);
        QCOMPARE(target.font().family(), QString(31, QLatin1Char('F')));
        QCOMPARE(target.font().pixelSize(), 11);
        QWidget unsized;
        window.SetControlFont(&unsized, "", 0);
        QCOMPARE(unsized.font().pointSizeF(), QFont().pointSizeF());
        // A negative size is a height of the whole character cell: at 12
        // points 16 pixels from the ascent's top to the descent's bottom, so
        // the characters themselves are smaller.
        for (int size : {-12, -30}) {
            QWidget cell;
            window.SetControlFont(&cell, "DejaVu Sans", size);
            const int wanted = size == -12 ? 16 : 40;
            QVERIFY2(std::abs(QFontMetrics(cell.font()).height() - wanted) <= 1,
                     qPrintable(QString::number(QFontMetrics(cell.font()).height())));
            QVERIFY(cell.font().pixelSize() > 0 && cell.font().pixelSize() < wanted);
        }
    }

    void closesAndDestroysWithEverythingRunning() {
        // The window closes through its Exit command, the event loop runs as it
        // does before the program ends, and then the window is destroyed. Every
        // element must be destroyed once, each animation's worker joined first.
        for (int round = 0; round < 3; ++round) {
            MainSkinWindow& window = open(kLivelySkin);
            QVERIFY(window.Initialise());
            window.show();
            QCOMPARE(window.pictures().size(), size_t(2));
            // The music starts once its synthesizer has loaded.
            QTRY_VERIFY_WITH_TIMEOUT(window.controlById(quell::ids::kMusicWindow), 10000);
            // The busy animation and the two pictures.
            QCOMPARE(window.findChildren<quell::ui::GifAnimator*>().size(), qsizetype(3));
            QTRY_VERIFY(window.pictures()[0]->framesShown() >= 2);
            runEventsFor(round * 7);

            window.dispatcher().DispatchCommand(quell::commands::kExit, 0, {});
            QTRY_VERIFY(!window.isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(window.findChildren<quell::ui::GifAnimator*>().isEmpty());
            m_window.reset();
            // Requests the workers queued before they stopped arrive now and must be dropped.
            runEventsFor(30);
        }
    }

    void sourceWindowsCloseWithTheMainWindow() {
        MainSkinWindow& window = open(kFullSkin);
        QVERIFY(window.Initialise());
        window.show();
        quell::ui::WebEngineBrowser* browser = window.webBrowser();
        QCOMPARE(
            browser->ExecDocumentCommand(quell::browser::CommandGroup::WebBrowser, quell::browser::kCommandViewSource),
            quell::browser::kResultOk);
        QCOMPARE(browser->sourceWindowCount(), 1);
        // The program's own loop ends when its main window closes, whatever else
        // was open; one that keeps running is ended with a failing status.
        QTimer::singleShot(0, &window, &QWidget::close);
        QTimer failsafe;
        failsafe.setSingleShot(true);
        QObject::connect(&failsafe, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        failsafe.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(browser->sourceWindowCount(), 0);
    }
};

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The music plays into a file, so the test needs no sound card.
    QTemporaryDir music;
    qputenv("QUELLCORE_MIDI_WAV", music.filePath(QStringLiteral("music.wav")).toUtf8());
    MainSkinWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_skin_window_test.moc"
