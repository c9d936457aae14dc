#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "control_test_support.h"
#include "core/command_codes.h"
#include "core/image/bitmap_writer.h"
#include "ui/controls/skin_button.h"

using namespace quell;
using quell::ui::SkinButton;
using quell::ui::SkinButtonSpec;

namespace {

constexpr uint32_t kRedPixel = 0xFFFF0000, kGreenPixel = 0xFF00FF00, kBluePixel = 0xFF0000FF,
                   kMagentaPixel = 0xFFFF00FF, kYellowPixel = 0xFFFFFF00, kBlackPixel = 0xFF000000;
constexpr uint32_t kMagentaValue = 16711935;

image::PixelImage solid(int w, int h, uint32_t pixel) {
    return {w, h, std::vector<uint32_t>(static_cast<size_t>(w * h), pixel)};
}

}  // namespace

class SkinButtonTest : public QObject {
    Q_OBJECT

    std::string writeBmp(const QString& name, const image::PixelImage& picture) {
        return test::writeFile(m_dir.filePath(name), image::EncodeBitmap24(picture));
    }
    QImage hostArea(SkinButton* b) { return test::grabbed(m_host).copy(b->geometry()); }

    QTemporaryDir m_dir;
    QWidget* m_host = nullptr;
    test::RecordingSink m_sink;
    test::RecordingSounds m_sounds;
    test::RecordingMessages m_messages;

    SkinButtonSpec request(int w, int h) {
        SkinButtonSpec s;
        s.normalPath = writeBmp("normal.bmp", solid(w, h, kRedPixel));
        s.hoverPath = writeBmp("hover.bmp", solid(w, h, kGreenPixel));
        s.pressedPath = writeBmp("pressed.bmp", solid(w, h, kBluePixel));
        s.x = 20;
        s.y = 10;
        s.width = w;
        s.height = h;
        s.controlId = 1025;
        s.kind = commands::kHome;
        s.index = 2;
        s.soundPath = m_dir.filePath("click.wav").toStdString();
        s.toolTip = "Home";
        return s;
    }

    SkinButton* create(const SkinButtonSpec& s) {
        return SkinButton::CreateButton(s, m_host, {&m_sink, &m_sounds, &m_messages});
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_sink.calls.clear();
        m_sounds.played.clear();
        m_messages.shown.clear();
        m_host = new QWidget;
        m_host->setGeometry(40, 40, 200, 120);
        QPalette p = m_host->palette();
        p.setColor(QPalette::Window, Qt::white);
        m_host->setPalette(p);
        m_host->setAutoFillBackground(true);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host));
    }

    void cleanup() { delete m_host; }

    void statesShowFieldsInOrderAndClickDispatchesOnce() {
        SkinButton* b = create(request(12, 8));
        QVERIFY(b);
        QCOMPARE(b->geometry(), QRect(20, 10, 12, 8));
        QCOMPARE(b->accessibleName(), QStringLiteral("Home"));
        QCOMPARE(hostArea(b).pixel(5, 5), kRedPixel);
        test::pointTo(b, {4, 4});
        QCOMPARE(hostArea(b).pixel(5, 5), kGreenPixel);
        test::pressAt(b, {4, 4});
        QCOMPARE(hostArea(b).pixel(5, 5), kBluePixel);
        QVERIFY(m_sink.calls.empty());
        test::releaseAt(b, {5, 5});
        QCOMPARE(hostArea(b).pixel(5, 5), kGreenPixel);
        QCOMPARE(m_sink.calls.size(), size_t(1));
        QCOMPARE(m_sink.calls[0].code, commands::kHome);
        QCOMPARE(m_sink.calls[0].index, 2);
        const QPoint g = b->mapToGlobal(QPoint(0, 0));
        QCOMPARE(m_sink.calls[0].rect, (browser::ScreenRect{g.x(), g.y(), g.x() + 12, g.y() + 8}));
        test::leave(b, {150, 100});
        QTRY_COMPARE(b->state(), 0);
        QCOMPARE(hostArea(b).pixel(5, 5), kRedPixel);
        QCOMPARE(m_sink.calls.size(), size_t(1));
    }

    void hiddenButtonIsNoLongerUnderThePointer() {
        // The pointer stays where it was when the window goes (minimized,
        // hidden): the leave check must end rather than tick on unseen.
        SkinButton* b = create(request(12, 8));
        QVERIFY(b);
        test::pointTo(b, {4, 4});
        QVERIFY(b->leaveTimerRunning());
        b->window()->hide();
        QTRY_VERIFY(!b->leaveTimerRunning());
        QCOMPARE(b->state(), 0);
    }

    void releaseOutsideIsNoClick() {
        SkinButton* b = create(request(12, 8));
        QVERIFY(b);
        test::pressAt(b, {4, 4});
        test::leave(b, {150, 100});
        // Dragged outside with the press held: the tick shows the normal image.
        QTRY_COMPARE(b->state(), 0);
        QCOMPARE(hostArea(b).pixel(5, 5), kRedPixel);
        test::releaseAt(b, {150, 100});
        QCOMPARE(b->state(), 1);
        QVERIFY(m_sink.calls.empty());
        QTRY_COMPARE(b->state(), 0);
        QVERIFY(m_sink.calls.empty());
    }

    void keyColourIsMatchedAfterScaling() {
        // Two pixels, key then yellow, stretched to 10 x 4: the left half is keyed out.
        image::PixelImage picture = solid(2, 1, kYellowPixel);
        picture.pixels[0] = kMagentaPixel;
        SkinButtonSpec s = request(2, 1);
        s.normalPath = writeBmp("keyed.bmp", picture);
        s.width = 10;
        s.height = 4;
        s.transparent = true;
        s.keyColour = kMagentaValue;
        SkinButton* b = create(s);
        QVERIFY(b);
        const QImage area = hostArea(b);
        QCOMPARE(area.size(), QSize(10, 4));
        for (int y = 0; y < 4; ++y) {
            QCOMPARE(area.pixel(0, y), 0xFFFFFFFFu);
            QCOMPARE(area.pixel(4, y), 0xFFFFFFFFu);
            QCOMPARE(area.pixel(5, y), kYellowPixel);
            QCOMPARE(area.pixel(9, y), kYellowPixel);
        }
    }

    void minusOneKeyDrawsOpaqueStretched() {
        SkinButtonSpec s = request(3, 3);
        s.normalPath = writeBmp("magenta.bmp", solid(3, 3, kMagentaPixel));
        s.width = 30;
        s.height = 20;
        s.transparent = false;
        s.keyColour = kMagentaValue;
        SkinButton* b = create(s);
        QVERIFY(b);
        const QImage area = hostArea(b);
        QCOMPARE(area.pixel(0, 0), kMagentaPixel);
        QCOMPARE(area.pixel(29, 19), kMagentaPixel);
        QCOMPARE(b->bitmapSize(), QSize(3, 3));
    }

    void otherStatesUseNormalBitmapSizeAsSource() {
        SkinButtonSpec s = request(4, 4);
        image::PixelImage bigHover = solid(8, 8, kBlackPixel);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) bigHover.pixels[static_cast<size_t>(y * 8 + x)] = kGreenPixel;
        s.hoverPath = writeBmp("bighover.bmp", bigHover);
        s.width = 16;
        s.height = 16;
        SkinButton* b = create(s);
        QVERIFY(b);
        test::pointTo(b, {8, 8});
        const QImage area = hostArea(b);
        // Only the hover bitmap's top-left 4 x 4 (all green) is stretched over the button.
        QCOMPARE(area.pixel(0, 0), kGreenPixel);
        QCOMPARE(area.pixel(15, 15), kGreenPixel);
    }

    void photoPictureIgnoresTheMouse() {
        SkinButtonSpec s = request(6, 6);
        s.hoverPath.clear();
        s.pressedPath.clear();
        s.controlId = ui::kPhotoControlId;
        s.toolTip.clear();
        s.kind = 0;
        s.index = 0;
        SkinButton* b = create(s);
        QVERIFY(b);
        test::pointTo(b, {2, 2});
        test::pressAt(b, {2, 2});
        QCOMPARE(b->state(), 0);
        QCOMPARE(hostArea(b).pixel(3, 3), kRedPixel);
        test::releaseAt(b, {2, 2});
        QVERIFY(m_sink.calls.empty());
        QVERIFY(m_sounds.played.empty());
        QVERIFY(!b->leaveTimerRunning());
        QCOMPARE(b->accessibleName(), QStringLiteral("Photo"));
    }

    void pressPlaysSoundUnlessNamedNull() {
        struct Case {
            const char* soundName;
            bool plays;
        } cases[] = {{"click.wav", true}, {"NULL", false}, {"null", false}, {"Null.wav", true}};
        for (const Case& c : cases) {
            m_sounds.played.clear();
            m_sounds.prepared.clear();
            SkinButtonSpec s = request(6, 6);
            s.soundPath = m_dir.filePath(c.soundName).toStdString();
            SkinButton* b = create(s);
            QVERIFY(b);
            // The sound is loaded with the button, so the first press need not wait for it.
            QCOMPARE(m_sounds.prepared, std::vector<std::string>{s.soundPath});
            QVERIFY(m_sounds.played.empty());
            test::pressAt(b, {2, 2});
            QCOMPARE(m_sounds.played.size(), size_t(c.plays ? 1 : 0));
            if (c.plays) QCOMPARE(m_sounds.played[0], s.soundPath);
            test::releaseAt(b, {2, 2});
            QCOMPARE(m_sounds.played.size(), size_t(c.plays ? 1 : 0));
            delete b;
        }
    }

    void unreadableBitmapShowsMessageAndMakesNoButton() {
        const std::string message = "Bmp ファイルを読めません｡\"";
        SkinButtonSpec s = request(6, 6);
        s.pressedPath = m_dir.filePath("missing.bmp").toStdString();
        QVERIFY(!create(s));
        s = request(6, 6);
        QFile notBmp(m_dir.filePath("text.bmp"));
        QVERIFY(notBmp.open(QIODevice::WriteOnly));
        notBmp.write("XX this is not a bitmap file at all");
        notBmp.close();
        s.hoverPath = notBmp.fileName().toStdString();
        QVERIFY(!create(s));
        QCOMPARE(m_messages.shown, (std::vector<std::string>{message, message}));
        QCOMPARE(m_host->findChildren<SkinButton*>().size(), qsizetype(0));
    }
};

QTEST_MAIN(SkinButtonTest)
#include "skin_button_test.moc"
