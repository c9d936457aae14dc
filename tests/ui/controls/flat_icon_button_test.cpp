// FlatIconButton pixels from grab(): flat, hovered, pressed, icons and caption.
#include <QtTest>

#include "ui/controls/flat_icon_button.h"

using quell::ui::FlatIconButton;

namespace {

QIcon solidIcon(const QColor& colour) {
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

const QColor kActiveIcon(255, 0, 0);
const QColor kInactiveIcon(0, 0, 255);
const QColor kActiveText(0, 160, 0);
const QColor kInactiveText(127, 127, 127);

struct Button {
    FlatIconButton button{"Add"};
    Button() {
        button.setIcons(solidIcon(kActiveIcon), solidIcon(kInactiveIcon), 32, 32);
        button.setActiveTextColour(kActiveText);
        button.setInactiveTextColour(kInactiveText);
        button.resize(80, 36);
        button.show();
        (void)QTest::qWaitForWindowExposed(&button);
        // The window opens under the pointer's resting place; start outside.
        leave();
    }
    QImage image() { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void hover() {
        QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), button.mapToGlobal(QPointF(10, 10)));
        QApplication::sendEvent(&button, &enter);
    }
    void leave() {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
    }
};

// Colours compared as plain RGB, whatever colour model the palette keeps.
QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }
QRgb rgb(const QColor& c) { return c.rgb(); }

// The bounding box of pixels right of the icon and inside the edges that
// differ from the background.
QRect captionBox(const QImage& image, QColor background) {
    QRect box;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 40; x < image.width() - 1; ++x)
            if (QColor(image.pixel(x, y)) != background) box |= QRect(x, y, 1, 1);
    return box;
}

// The bounding box of the clearly green pixels: the caption in its active colour.
QRect greenBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c(image.pixel(x, y));
            if (c.green() > c.red() + 40 && c.green() > c.blue() + 40) box |= QRect(x, y, 1, 1);
        }
    return box;
}

}  // namespace

class FlatIconButtonTest : public QObject {
    Q_OBJECT

private slots:
    void flatButtonShowsNoEdgeAndInactiveLook() {
        Button b;
        QImage image = b.image();
        QColor face = b.button.palette().color(QPalette::Button);
        QCOMPARE(at(image, 0, 0), rgb(face));
        QCOMPARE(at(image, 79, 35), rgb(face));
        // Icon 3 pixels in from the left, centred vertically: (36 - 32) / 2 = 2.
        QCOMPARE(at(image, 3, 2), rgb(kInactiveIcon));
        QCOMPARE(at(image, 2, 2), rgb(face));
        QCOMPARE(at(image, 3, 1), rgb(face));
        QVERIFY(greenBox(image).isEmpty());
        QVERIFY(!captionBox(image, face).isEmpty());
    }

    void hoverDrawsRaisedEdgeAndActiveColoursUntilLeft() {
        Button b;
        b.hover();
        QVERIFY(b.button.isPointerOver());
        QImage image = b.image();
        const QPalette& pal = b.button.palette();
        QCOMPARE(at(image, 0, 0), rgb(pal.color(QPalette::Light)));
        QCOMPARE(at(image, 40, 0), rgb(pal.color(QPalette::Light)));
        QCOMPARE(at(image, 0, 20), rgb(pal.color(QPalette::Light)));
        QCOMPARE(at(image, 79, 20), rgb(pal.color(QPalette::Dark)));
        QCOMPARE(at(image, 40, 35), rgb(pal.color(QPalette::Dark)));
        QCOMPARE(at(image, 3, 2), rgb(kActiveIcon));
        QVERIFY(!greenBox(image).isEmpty());

        b.leave();
        QVERIFY(!b.button.isPointerOver());
        image = b.image();
        QCOMPARE(at(image, 0, 0), rgb(pal.color(QPalette::Button)));
        QCOMPARE(at(image, 3, 2), rgb(kInactiveIcon));
        QVERIFY(greenBox(image).isEmpty());
    }

    void pressedShiftsIconAndCaptionByOnePixel() {
        Button b;
        QColor face = b.button.palette().color(QPalette::Button);
        b.button.setInactiveTextColour(kActiveText);
        QRect before = greenBox(b.image());
        b.button.setDown(true);
        QImage image = b.image();
        QCOMPARE(at(image, 4, 3), rgb(kActiveIcon));
        QCOMPARE(at(image, 3, 3), rgb(face));
        QCOMPARE(at(image, 4, 2), rgb(face));
        // Sunken edge: shadow top and left, highlight bottom and right.
        QCOMPARE(at(image, 0, 10), rgb(b.button.palette().color(QPalette::Dark)));
        QCOMPARE(at(image, 79, 10), rgb(b.button.palette().color(QPalette::Light)));
        QRect after = greenBox(image);
        QVERIFY(!before.isEmpty());
        QCOMPARE(after.topLeft(), before.topLeft() + QPoint(1, 1));
    }

    void withoutSecondIconBothStatesShowTheSameIcon() {
        FlatIconButton button("Add");
        button.setIcons(solidIcon(kActiveIcon), QIcon(), 32, 32);
        button.resize(80, 36);
        QCOMPARE(button.grab().toImage().pixel(3, 2) | 0xFF000000u, rgb(kActiveIcon));
        button.setDown(true);
        QCOMPARE(button.grab().toImage().pixel(4, 3) | 0xFF000000u, rgb(kActiveIcon));
    }

    void drawBorderOffKeepsHoverFlat() {
        Button b;
        b.button.setDrawBorder(false);
        b.hover();
        QImage image = b.image();
        QCOMPARE(at(image, 0, 0), rgb(b.button.palette().color(QPalette::Button)));
        QCOMPARE(at(image, 3, 2), rgb(kActiveIcon));
    }

    void longCaptionRunsOnOneLineWithoutWrapping() {
        FlatIconButton button("A caption far wider than the button");
        button.setIcons(solidIcon(kActiveIcon), QIcon(), 32, 32);
        button.resize(90, 60);
        QColor face = button.palette().color(QPalette::Button);
        QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QRect box = captionBox(image, face);
        QVERIFY(!box.isEmpty());
        QVERIFY(box.height() <= button.fontMetrics().height());
        QCOMPARE(box.right(), 88);
    }

    void iconAboveCaptionIsCentredAtTop() {
        FlatIconButton button("Add");
        button.setIcons(solidIcon(kActiveIcon), QIcon(), 32, 32);
        button.setIconAlignment(FlatIconButton::IconAlignment::AboveCaption);
        button.resize(80, 60);
        QImage image = button.grab().toImage();
        QCOMPARE(at(image, 24, 0), rgb(kActiveIcon));
        QCOMPARE(at(image, 55, 31), rgb(kActiveIcon));
        QVERIFY(at(image, 23, 0) != rgb(kActiveIcon));
        QVERIFY(at(image, 56, 0) != rgb(kActiveIcon));
    }

    void nonFlatButtonIgnoresHover() {
        Button b;
        b.button.setFlat(false);
        b.hover();
        QVERIFY(!b.button.isPointerOver());
        QVERIFY(at(b.image(), 3, 3) != rgb(kActiveIcon));
    }
};

QTEST_MAIN(FlatIconButtonTest)
#include "flat_icon_button_test.moc"
