#include <QTest>
#include <QToolTip>
#include <iterator>
#include <utility>

#include "core/browser/toolbar_layout.h"
#include "core/command_codes.h"
#include "control_test_support.h"
#include "ui/controls/control_id.h"
#include "ui/controls/maximized_toolbar.h"
#include "ui/controls/resource_bitmap_button.h"
#include "ui/controls/toolbar_pictures.h"

using namespace quell;
using quell::ui::MaximizedToolbar;
using quell::ui::ResourceBitmapButton;

class MaximizedToolbarTest : public QObject {
    Q_OBJECT

    QWidget* m_host = nullptr;
    MaximizedToolbar* m_toolbar = nullptr;
    test::RecordingSink m_sink;
    std::vector<std::string> m_navigated;

private slots:
    void init() {
        m_sink.calls.clear();
        m_navigated.clear();
        m_host = new QWidget;
        m_host->setGeometry(50, 40, 1024, 200);
        m_toolbar = new MaximizedToolbar(
            {"example.com/"}, [this](const std::string& u) { m_navigated.push_back(u); }, &m_sink, m_host);
        m_toolbar->setGeometry(0, 0, 1024, browser::kToolbarHeight);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host));
    }

    void cleanup() {
        delete m_host;
        m_host = nullptr;
    }

    void rightGroupFollowsWidth1024() {
        QCOMPARE(m_toolbar->button(120)->pos(), QPoint(984, 9));
        QCOMPARE(m_toolbar->button(121)->pos(), QPoint(1002, 9));
        QCOMPARE(m_toolbar->addressCombo()->pos(), QPoint(574, 2));
        QCOMPARE(m_toolbar->addressCombo()->width(), 400);
        QCOMPARE(m_toolbar->button(commands::kToolbarBack)->geometry(), QRect(10, 1, 29, 26));
        m_toolbar->resize(800, browser::kToolbarHeight);
        QCOMPARE(m_toolbar->button(120)->pos(), QPoint(760, 9));
        QCOMPARE(m_toolbar->button(121)->size(), QSize(16, 14));
    }

    void buttonsHaveTableTooltipsAndNames() {
        // The twelve buttons' tooltips, written out here rather than read
        // from the table the toolbar is built from.
        const std::pair<int, const char*> tooltips[] = {
            {110, "Back"},    {111, "Forward"},  {112, "Stop"}, {113, "Reload"}, {109, "Home"}, {114, "Print"},
            {117, "Restore"}, {120, "Minimize"}, {121, "Exit"}, {122, "File"},   {123, "Edit"}, {124, "View"},
        };
        for (const auto& [id, tooltip] : tooltips) {
            ResourceBitmapButton* b = m_toolbar->button(id);
            QVERIFY2(b, tooltip);
            QCOMPARE(b->toolTip(), QString::fromUtf8(tooltip));
            QCOMPARE(b->accessibleName(), b->toolTip());
        }
        QCOMPARE(std::size(tooltips), browser::kToolbarButtons.size());
        // Every button of the layout table is where the table puts it, unless
        // it is one of the two that follow the right edge.
        for (const browser::ToolbarButtonSpec& layout : browser::kToolbarButtons) {
            if (layout.x > 0) QCOMPARE(m_toolbar->button(layout.controlId)->pos(), QPoint(layout.x, layout.y));
        }
        ResourceBitmapButton* home = m_toolbar->button(109);
        // Hovering shows the tooltip text from the table.
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), home->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(home, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Home"));
        QToolTip::hideText();
    }

    void addressComboHasItsOwnControlId() {
        // The skin's address bar is 102; the toolbar's has an id of its own.
        QCOMPARE(controlId(m_toolbar->addressCombo()), 116);
    }

    void picturesHaveTheirSizesAndDifferPerState() {
        struct Case {
            int first;
            QSize size;
        } cases[] = {{134, {29, 26}}, {149, {29, 26}}, {153, {29, 26}}, {178, {16, 14}},
                     {187, {16, 14}}, {213, {29, 26}}, {216, {40, 18}}};
        for (const Case& c : cases) {
            const QImage normal = ui::toolbarPicture(c.first).toImage();
            const QImage hover = ui::toolbarPicture(c.first + 1).toImage();
            const QImage pressed = ui::toolbarPicture(c.first + 2).toImage();
            QCOMPARE(normal.size(), c.size);
            QCOMPARE(hover.size(), c.size);
            QCOMPARE(pressed.size(), c.size);
            QVERIFY(normal != hover);
            QVERIFY(hover != pressed);
        }
        QVERIFY(ui::toolbarPicture(152).isNull());
        QVERIFY(ui::toolbarPicture(219).isNull());
    }

    void clickInsideDispatchesOnceOnRelease() {
        ResourceBitmapButton* back = m_toolbar->button(commands::kToolbarBack);
        test::pointTo(back, {5, 5});
        QCOMPARE(back->state(), 1);
        test::pressAt(back, {5, 5});
        QCOMPARE(back->state(), 2);
        QVERIFY(m_sink.calls.empty());
        test::releaseAt(back, {6, 6});
        QCOMPARE(back->state(), 1);
        QCOMPARE(m_sink.calls.size(), size_t(1));
        QCOMPARE(m_sink.calls[0].code, commands::kToolbarBack);
        QCOMPARE(m_sink.calls[0].index, 0);
        const QPoint g = back->mapToGlobal(QPoint(0, 0));
        QCOMPARE(m_sink.calls[0].rect, (browser::ScreenRect{g.x(), g.y(), g.x() + 29, g.y() + 26}));
    }

    void moveWhilePressedDoesNotRedraw() {
        ResourceBitmapButton* print = m_toolbar->button(commands::kToolbarPrint);
        test::pressAt(print, {5, 5});
        const QImage pressed = test::grabbed(print);
        QCOMPARE(pressed, ui::toolbarPicture(151).toImage().convertToFormat(QImage::Format_RGB32));
        test::pointTo(print, {10, 10});
        QCOMPARE(print->state(), 2);
        QCOMPARE(test::grabbed(print), pressed);
        test::releaseAt(print, {10, 10});
        QCOMPARE(m_sink.calls.size(), size_t(1));
        QCOMPARE(m_sink.calls[0].code, commands::kToolbarPrint);
    }

    void leaveCheckRestoresNormalPicture() {
        ResourceBitmapButton* view = m_toolbar->button(124);
        test::pointTo(view, {3, 3});
        QCOMPARE(test::grabbed(view), ui::toolbarPicture(214).toImage().convertToFormat(QImage::Format_RGB32));
        test::leave(view, {-100, 100});
        QTRY_COMPARE(view->state(), 0);
        QVERIFY(!view->leaveTimerRunning());
        QCOMPARE(test::grabbed(view), ui::toolbarPicture(213).toImage().convertToFormat(QImage::Format_RGB32));
    }

    void backgroundIsLightGrey() {
        const QImage image = test::grabbed(m_toolbar);
        QCOMPARE(QColor(image.pixel(500, 1)), QColor(191, 191, 191));
        QCOMPARE(QColor(image.pixel(1020, 27)), QColor(191, 191, 191));
    }
};

QTEST_MAIN(MaximizedToolbarTest)
#include "maximized_toolbar_test.moc"
