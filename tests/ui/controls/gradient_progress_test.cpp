#include <QTest>

#include "control_test_support.h"
#include "ui/controls/gradient_progress.h"

using quell::ui::GradientProgress;

namespace {

const QColor kBackground(40, 17, 107);

GradientProgress* makeBar(QWidget* host, QRect geometry, bool vertical) {
    auto* bar = new GradientProgress(host);
    bar->setGeometry(geometry);
    bar->setVertical(vertical);
    bar->SetRange(0, 100);
    bar->SetPos(0);
    return bar;
}

}  // namespace

class GradientProgressTest : public QObject {
    Q_OBJECT

private slots:
    void endsOfRangeShowBackgroundOnly() {
        QWidget host;
        GradientProgress* bar = makeBar(&host, {0, 0, 100, 10}, false);
        for (int position : {0, 100, 150}) {
            bar->SetPos(position);
            const QImage image = quell::test::grabbed(bar);
            for (int x : {0, 1, 50, 99}) QCOMPARE(QColor(image.pixel(x, 5)), kBackground);
        }
    }

    void verticalBarAtOneFillsThreeBands() {
        QWidget host;
        GradientProgress* bar = makeBar(&host, {0, 0, 12, 365}, true);
        bar->SetPos(1);
        const QImage image = quell::test::grabbed(bar);
        // Bands 0, 1 and 2 cover rows 0..3; band 2 is two rows tall.
        QCOMPARE(QColor(image.pixel(5, 0)), QColor(255, 0, 0));
        QCOMPARE(QColor(image.pixel(5, 1)), QColor(254, 0, 1));
        QCOMPARE(QColor(image.pixel(5, 2)), QColor(253, 0, 2));
        QCOMPARE(QColor(image.pixel(11, 3)), QColor(253, 0, 2));
        QCOMPARE(QColor(image.pixel(5, 4)), kBackground);
        QCOMPARE(QColor(image.pixel(0, 364)), kBackground);
    }

    void horizontalBarAtHalfStopsAfterBandPassingExtent() {
        QWidget host;
        GradientProgress* bar = makeBar(&host, {0, 0, 100, 8}, false);
        bar->SetPos(50);
        const QImage image = quell::test::grabbed(bar);
        QVERIFY(QColor(image.pixel(50, 4)) != kBackground);
        QCOMPARE(QColor(image.pixel(51, 4)), kBackground);
        QCOMPARE(QColor(image.pixel(99, 7)), kBackground);
        // The ramp runs from red towards blue across the covered part.
        QVERIFY(QColor(image.pixel(0, 0)).red() > QColor(image.pixel(50, 0)).red());
        QVERIFY(QColor(image.pixel(0, 0)).blue() < QColor(image.pixel(50, 0)).blue());
    }

    void whiteToAzureRampEndsOneStepShort() {
        QWidget host;
        GradientProgress* bar = makeBar(&host, {0, 0, 255, 6}, false);
        bar->setStartColour(0xFFFFFF);
        bar->setEndColour(0xFF8000);  // red 0, green 128, blue 255
        bar->SetRange(0, 1000);
        bar->SetPos(999);
        const QImage image = quell::test::grabbed(bar);
        QCOMPARE(QColor(image.pixel(0, 3)), QColor(255, 255, 255));
        QCOMPARE(QColor(image.pixel(254, 3)), QColor(1, 128, 255));
    }

    void rangeMovesPositionToLowerEnd() {
        QWidget host;
        GradientProgress* bar = makeBar(&host, {0, 0, 100, 8}, false);
        bar->SetPos(40);
        bar->SetRange(20, 80);
        QCOMPARE(bar->Pos(), 20);
        QCOMPARE(QColor(quell::test::grabbed(bar).pixel(0, 0)), kBackground);
        bar->SetPos(40);
        // The extent uses position / upper only: 40 / 80 of 100 pixels.
        const QImage image = quell::test::grabbed(bar);
        QVERIFY(QColor(image.pixel(50, 0)) != kBackground);
        QCOMPARE(QColor(image.pixel(52, 0)), kBackground);
    }

    void percentageTextIsDrawnOverTheRamp() {
        QWidget host;
        GradientProgress* bar = makeBar(&host, {0, 0, 200, 30}, false);
        bar->setStartColour(0x000000);
        bar->setEndColour(0x000000);
        bar->SetPos(99);
        const QImage plain = quell::test::grabbed(bar);
        bar->setShowPercentage(true);
        bar->update();
        const QImage withText = quell::test::grabbed(bar);
        int white = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 80; x < 120; ++x) white += QColor(withText.pixel(x, y)).lightness() > 128;
        QVERIFY(plain != withText);
        QVERIFY(white > 5);
    }
};

QTEST_MAIN(GradientProgressTest)
#include "gradient_progress_test.moc"
