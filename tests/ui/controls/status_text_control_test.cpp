#include <QTest>

#include "control_test_support.h"
#include "ui/controls/status_text_control.h"

using quell::ui::StatusTextControl;

namespace {

// A parent that records any pointer input that reaches it.
class RecordingParent : public QWidget {
public:
    int presses = 0;
    int moves = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent*) override { ++presses; }
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
};

int countPixels(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += QColor(image.pixel(x, y)) == colour;
    return n;
}

}  // namespace

class StatusTextControlTest : public QObject {
    Q_OBJECT

private slots:
    void drawsTextInChosenColourOnButtonFace() {
        StatusTextControl control;
        control.resize(200, 20);
        control.SetTextColour(0x0000FF);  // red
        control.setText(QStringLiteral("Loading a=1&b=2"));
        const QImage image = quell::test::grabbed(&control);
        const QColor face = control.palette().color(QPalette::Active, QPalette::Button);
        QCOMPARE(QColor(image.pixel(199, 19)), face);
        QVERIFY(countPixels(image, QColor(255, 0, 0)) > 10);
        // One line, left-aligned: nothing drawn in the right half.
        QImage right = image.copy(150, 0, 50, 20);
        QCOMPARE(countPixels(right, face), 50 * 20);
    }

    void minusOneIsSystemButtonText() {
        StatusTextControl control;
        control.SetTextColour(0x00FF00);
        control.SetTextColour(-1);
        QCOMPARE(control.textColour(), control.palette().color(QPalette::Active, QPalette::ButtonText));
        QCOMPARE(control.backgroundColour(), control.palette().color(QPalette::Active, QPalette::Button));
    }

    void swallowsThePointer() {
        RecordingParent parent;
        parent.setMouseTracking(true);
        parent.resize(300, 100);
        auto* control = new StatusTextControl(&parent);
        control->setGeometry(10, 10, 200, 20);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QTest::mousePress(control, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(control, QPoint(7, 7));
        QCOMPARE(parent.presses, 0);
        QCOMPARE(parent.moves, 0);
    }
};

QTEST_MAIN(StatusTextControlTest)
#include "status_text_control_test.moc"
