#include <QTest>

#include "control_test_support.h"
#include "ui/controls/standard_progress.h"

using quell::ui::StandardProgress;

namespace {

// The runs of the highlight colour along a line through the bar's middle.
int highlightRuns(StandardProgress& bar) {
    const QImage image = quell::test::grabbed(&bar);
    const QRgb highlight = bar.palette().highlight().color().rgb();
    const bool vertical = bar.orientation() == Qt::Vertical;
    const int length = vertical ? image.height() : image.width();
    int runs = 0;
    bool inRun = false;
    for (int i = 0; i < length; ++i) {
        const QRgb pixel = vertical ? image.pixel(image.width() / 2, i) : image.pixel(i, image.height() / 2);
        const bool lit = pixel == highlight;
        if (lit && !inRun) ++runs;
        inRun = lit;
    }
    return runs;
}

}  // namespace

class StandardProgressTest : public QObject {
    Q_OBJECT

private slots:
    void segmentedUnlessSmooth() {
        struct Case {
            const char* name;
            Qt::Orientation orientation;
            QSize size;
            int value;
            bool smooth;
            int minRuns, maxRuns;
        };
        // A 16-pixel bar has blocks of about 8 pixels with 2-pixel gaps: 60% of
        // 200 pixels is a dozen blocks. The smooth style draws no gaps.
        const Case cases[] = {
            {"segmented", Qt::Horizontal, {200, 16}, 60, false, 10, 14},
            {"segmented, vertical", Qt::Vertical, {16, 200}, 60, false, 10, 14},
            {"segmented, empty", Qt::Horizontal, {200, 16}, 0, false, 0, 0},
            {"smooth", Qt::Horizontal, {200, 16}, 60, true, 0, 1},
        };
        for (const Case& c : cases) {
            QWidget host;
            StandardProgress bar(&host);
            bar.setOrientation(c.orientation);
            bar.resize(c.size);
            bar.setTextVisible(false);
            bar.setRange(0, 100);
            bar.setValue(c.value);
            bar.setSmooth(c.smooth);
            const int runs = highlightRuns(bar);
            QVERIFY2(runs >= c.minRuns && runs <= c.maxRuns, qPrintable(QString("%1: %2 runs").arg(c.name).arg(runs)));
        }
    }
};

QTEST_MAIN(StandardProgressTest)
#include "standard_progress_test.moc"
