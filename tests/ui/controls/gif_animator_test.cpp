#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "control_test_support.h"
#include "core/image/gif_encoder.h"
#include "recording_synthesizer.h"
#include "ui/controls/gif_animator.h"

using namespace quell;
using quell::ui::GifAnimator;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

// A frame of one colour index, optionally with a transparent first row.
image::GifFrame solidFrame(int w, int h, uint8_t index, int delay, int transparent = -1) {
    image::GifFrame f;
    f.width = w;
    f.height = h;
    f.indices.assign(static_cast<size_t>(w * h), index);
    f.delay = delay;
    if (transparent >= 0) {
        f.transparent = transparent;
        for (int x = 0; x < w; ++x) f.indices[static_cast<size_t>(x)] = static_cast<uint8_t>(transparent);
    }
    return f;
}

std::string writeGif(const QTemporaryDir& dir, const QString& name, const image::GifFile& gif) {
    return test::writeFile(dir.filePath(name), image::EncodeGif(gif));
}

image::GifFile redGreen(int delay) {
    image::GifFile gif;
    gif.globalColours = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    gif.frames = {solidFrame(8, 6, 0, delay, 2), solidFrame(8, 6, 1, delay)};
    return gif;
}

}  // namespace

class GifAnimatorTest : public QObject {
    Q_OBJECT

    // An animator on the red and green GIF, 10 ms an image, whose time moves
    // only when the test calls advance().
    GifAnimator* createOnClock(const QString& name) {
        return GifAnimator::CreateAnimator(m_host, 0, 0, writeGif(m_dir, name, redGreen(1)), &m_messages,
                                           m_clock.get());
    }
    void advance(int ms) { m_clock->advanceTo(m_now += int64_t{ms} * 1000); }

    QTemporaryDir m_dir;
    QWidget* m_host = nullptr;
    test::RecordingMessages m_messages;
    std::unique_ptr<platform::test::ManualClock> m_clock;
    int64_t m_now = 0;

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_messages.shown.clear();
        m_clock = std::make_unique<platform::test::ManualClock>();
        m_now = 0;
        m_host = new QWidget;
        m_host->resize(200, 100);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host));
    }

    // The animators go with their host, before the clock they wait on.
    void cleanup() {
        delete m_host;
        m_clock.reset();
    }

    void sizedByFirstImageWithTransparencyWhite() {
        image::GifFile gif = redGreen(5);
        gif.frames.push_back(solidFrame(20, 20, 1, 5));
        const std::string path = writeGif(m_dir, "sizes.gif", gif);
        GifAnimator* a = GifAnimator::CreateAnimator(m_host, 7, 9, path, &m_messages);
        QVERIFY(a);
        QCOMPARE(a->geometry(), QRect(7, 9, 8, 6));
        QCOMPARE(a->frameCount(), 3);
        const QImage image = test::grabbed(a);
        QCOMPARE(QColor(image.pixel(3, 0)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(3, 5)), kRed);
        QVERIFY(m_messages.shown.empty());
    }

    void delaysBecomeMilliseconds() {
        image::GifFile gif = redGreen(7);
        gif.frames[1].delay = 0;  // a 0 delay among several images counts as 10
        GifAnimator* a = GifAnimator::CreateAnimator(m_host, 0, 0, writeGif(m_dir, "d.gif", gif), &m_messages);
        QVERIFY(a);
        QCOMPARE(a->frameDelay(0), 70);
        QCOMPARE(a->frameDelay(1), 100);
    }

    void animatesAndCountsPauses() {
        GifAnimator* a = createOnClock("a.gif");
        QVERIFY(a);
        QVERIFY(a->StartAnimation());
        QVERIFY(!a->StartAnimation());
        QTRY_COMPARE(a->framesShown(), 1);
        QTest::qWait(20);
        QCOMPARE(a->framesShown(), 1);  // the first image's delay has not passed
        advance(10);
        QTRY_VERIFY(a->framesShown() >= 2);
        QTRY_COMPARE(QColor(test::grabbed(a).pixel(3, 5)), kGreen);

        a->PauseAnimation();
        a->PauseAnimation();
        QCOMPARE(a->pauseCount(), 2);
        advance(1000);
        QTest::qWait(10);
        const int frozen = a->framesShown();
        a->ResumeAnimation();
        advance(1000);
        QTest::qWait(20);
        QCOMPARE(a->framesShown(), frozen);  // one resume for two pauses: still paused
        a->ResumeAnimation();
        QTRY_VERIFY(a->framesShown() > frozen);
        a->ResumeAnimation();  // below zero it does nothing
        QCOMPARE(a->pauseCount(), 0);
    }

    void offScreenSleepsApartFromPauses() {
        GifAnimator* a = createOnClock("o.gif");
        QVERIFY(a);
        QVERIFY(a->StartAnimation());
        QTRY_COMPARE(a->framesShown(), 1);
        QTest::qWait(10);
        advance(10);
        QTRY_VERIFY(a->framesShown() >= 2);
        a->setOnScreen(false);
        QTest::qWait(20);
        const int hidden = a->framesShown();
        advance(1000);
        QTest::qWait(30);
        QCOMPARE(a->framesShown(), hidden);
        QCOMPARE(a->pauseCount(), 0);
        // A pause taken while off screen still needs its resume afterwards.
        a->PauseAnimation();
        a->setOnScreen(true);
        advance(1000);
        QTest::qWait(30);
        QCOMPARE(a->framesShown(), hidden);
        a->ResumeAnimation();
        advance(10);
        QTRY_VERIFY(a->framesShown() > hidden);
    }

    void pausedRepaintShowsFirstImage() {
        GifAnimator* a = createOnClock("p.gif");
        QVERIFY(a);
        a->StartAnimation();
        for (int step = 0; step < 100 && a->framesShown() < 3; ++step) {
            advance(10);
            QTest::qWait(2);
        }
        QTRY_VERIFY(a->framesShown() >= 3);
        a->PauseAnimation();
        a->update();
        QCOMPARE(QColor(test::grabbed(a).pixel(3, 5)), kRed);
    }

    void destructionWhileRunningStopsWorker() {
        image::GifFile gif = redGreen(0);
        gif.frames.resize(1);  // one image, no delay: the worker loops as fast as it may
        for (int round = 0; round < 5; ++round) {
            GifAnimator* a = GifAnimator::CreateAnimator(m_host, 0, 0, writeGif(m_dir, "fast.gif", gif), &m_messages);
            QVERIFY(a);
            a->StartAnimation();
            QTest::qWait(round * 3);
            if (round % 2) {
                a->PauseAnimation();
                delete a;  // paused workers must stop too
            } else {
                a->DestroyAnimator();
                QVERIFY(!a->workerRunning());
            }
        }
        // Requests queued by the workers arrive after their animators are gone.
        QTest::qWait(30);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_host->findChildren<GifAnimator*>().size(), qsizetype(0));
    }

    void unreadableOrEmptyFileMakesNoControl() {
        const std::string missing = m_dir.filePath("nothere.gif").toStdString();
        QVERIFY(!GifAnimator::CreateAnimator(m_host, 0, 0, missing, &m_messages));
        QCOMPARE(m_messages.shown.size(), size_t(1));
        QCOMPARE(m_messages.shown[0], "Gif ファイルが見つかりません｡ : (" + missing + ")");

        image::GifFile empty;
        empty.screenWidth = 4;
        empty.screenHeight = 4;
        empty.globalColours = {0, 0xFFFFFF};
        const std::string emptyPath = writeGif(m_dir, "empty.gif", empty);
        QVERIFY(!GifAnimator::CreateAnimator(m_host, 0, 0, emptyPath, &m_messages));
        QCOMPARE(m_messages.shown.size(), size_t(2));
        QCOMPARE(m_host->findChildren<GifAnimator*>().size(), qsizetype(0));
    }
};

QTEST_MAIN(GifAnimatorTest)
#include "gif_animator_test.moc"
