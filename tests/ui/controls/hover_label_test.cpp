#include <QTest>

#include "control_test_support.h"
#include "ui/controls/font_height.h"
#include "ui/controls/hover_label.h"

using namespace quell;
using quell::ui::HoverLabel;
using quell::ui::LabelRecord;

namespace {

int countNear(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            n += std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                 std::abs(c.blue() - colour.blue()) < 40;
        }
    return n;
}

LabelRecord record(const std::string& keyword, const std::string& argument = {}) {
    LabelRecord r;
    r.normalColour = 0x0000FF;  // red
    r.hoverColour = 0xFF0000;   // blue
    r.sizePoints = 14;
    r.bold = 1;
    r.keyword = keyword;
    r.argument = argument;
    return r;
}

}  // namespace

class HoverLabelTest : public QObject {
    Q_OBJECT

    QWidget* m_host = nullptr;
    test::RecordingSink m_sink;
    std::vector<std::string> m_navigated;
    std::vector<std::string> m_opened;

    browser::LinkTargets targets() {
        return {[this](const std::string& u) { m_navigated.push_back(u); },
                [this](const std::string& c) { m_opened.push_back(c); }, &m_sink};
    }

private slots:
    void init() {
        m_sink.calls.clear();
        m_navigated.clear();
        m_opened.clear();
        m_host = new QWidget;
        m_host->setGeometry(30, 30, 400, 200);
        QPalette p = m_host->palette();
        p.setColor(QPalette::Window, Qt::white);
        m_host->setPalette(p);
        m_host->setAutoFillBackground(true);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host));
    }

    void cleanup() { delete m_host; }

    void hoverColourUntilPointerLeaves() {
        auto* label = new HoverLabel(QStringLiteral("Home page"), targets(), m_host);
        label->setGeometry(10, 10, 200, 30);
        label->show();
        // An unknown keyword still changes colour.
        label->ConfigureLabel(record("nosuchthing"));
        QVERIFY(countNear(test::grabbed(m_host).copy(label->geometry()), QColor(255, 0, 0)) > 10);
        test::pointTo(label, {5, 5});
        QCOMPARE(label->currentColour(), QColor(0, 0, 255));
        const QImage hovered = test::grabbed(m_host).copy(label->geometry());
        QVERIFY(countNear(hovered, QColor(0, 0, 255)) > 10);
        QCOMPARE(countNear(hovered, QColor(255, 0, 0)), 0);
        test::leave(label, {300, 150});
        QTRY_COMPARE(label->currentColour(), QColor(255, 0, 0));
        QCOMPARE(countNear(test::grabbed(m_host).copy(label->geometry()), QColor(0, 0, 255)), 0);
    }

    void commandRouting_data() {
        QTest::addColumn<QString>("keyword");
        // What the press did; a dispatch also names the label's screen rectangle.
        QTest::addColumn<QString>("outcome");
        auto row = [](const char* keyword, const char* outcome) {
            QTest::newRow(keyword) << QString(keyword) << QString(outcome);
        };
        row("Direct", "navigate http://a.example/x,y");
        row("EXECUTE", "open http://a.example/x,y");
        row("back", "dispatch 1 0 over the label");
        row("Mail", "dispatch 11 0 over the label");
        row("view", "dispatch 16 0 over the label");
        row("jump", "");
    }

    void commandRouting() {
        QFETCH(QString, keyword);
        QFETCH(QString, outcome);
        auto* label = new HoverLabel(QStringLiteral("Go, now"), targets(), m_host);
        label->setGeometry(20, 40, 120, 20);
        label->show();
        label->ConfigureLabel(record(keyword.toStdString(), "http://a.example/x,y"));
        const QPoint g = label->mapToGlobal(QPoint(0, 0));
        auto happened = [&] {
            QStringList parts;
            for (const test::Dispatch& d : m_sink.calls)
                parts << QStringLiteral("dispatch %1 %2 ").arg(d.code).arg(d.index) +
                             (d.rect == browser::ScreenRect{g.x(), g.y(), g.x() + 120, g.y() + 20} ? "over the label"
                                                                                                   : "elsewhere");
            for (const std::string& url : m_navigated) parts << "navigate " + QString::fromStdString(url);
            for (const std::string& entry : m_opened) parts << "open " + QString::fromStdString(entry);
            return parts.join("; ");
        };
        test::pressAt(label, {3, 3});
        QCOMPARE(happened(), outcome);
        // The command runs on the press; a release adds nothing.
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(happened(), outcome);
    }

    void fontFollowsRecord() {
        QCOMPARE(ui::mulDivRound(9, 96, 72), 12);
        QCOMPARE(ui::mulDivRound(8, 96, 72), 11);
        QCOMPARE(ui::mulDivRound(-9, 96, 72), -12);
        HoverLabel label(QStringLiteral("x"), targets());
        LabelRecord r = record("home");
        r.face = "";
        r.sizePoints = -1;
        r.bold = 0;
        r.italic = 1;
        r.underline = 0x100;  // only the low byte counts
        label.ConfigureLabel(r);
        QCOMPARE(label.font().family(), QStringLiteral("Ms Sans Serif"));
        QCOMPARE(label.font().pixelSize(), ui::fontPixelHeight(9));
        QCOMPARE(label.font().weight(), QFont::Normal);
        QVERIFY(label.font().italic());
        QVERIFY(!label.font().underline());
        label.SetLabelFont("Arial", 20, 1, 0, 1);
        QCOMPARE(label.font().family(), QStringLiteral("Arial"));
        QCOMPARE(label.font().pixelSize(), ui::fontPixelHeight(20));
        QCOMPARE(label.font().weight(), QFont::Bold);
        QVERIFY(label.font().underline());
    }

    void ampersandUnderlinesAndDoubledShowsOne() {
        auto* marked = new HoverLabel(QStringLiteral("&Home"), targets(), m_host);
        auto* plain = new HoverLabel(QStringLiteral("Home"), targets(), m_host);
        auto* doubled = new HoverLabel(QStringLiteral("A&&B"), targets(), m_host);
        auto* literal = new HoverLabel(QStringLiteral("A&B"), targets(), m_host);
        int y = 0;
        for (HoverLabel* l : {marked, plain, doubled, literal}) {
            l->setGeometry(0, y, 150, 40);
            l->show();
            l->ConfigureLabel(record("home"));
            y += 45;
        }
        const QImage host = test::grabbed(m_host);
        // The marked label differs only by the underline under "H".
        QVERIFY(host.copy(marked->geometry()) != host.copy(plain->geometry()));
        QCOMPARE(marked->accessibleName(), QStringLiteral("Home"));
        QCOMPARE(doubled->accessibleName(), QStringLiteral("A&B"));
        // "A&&B" shows a visible ampersand, so it is wider in ink than "A&B" (which shows "AB").
        auto inkWidth = [&](HoverLabel* l) {
            const QImage img = host.copy(l->geometry());
            int right = 0;
            for (int yy = 0; yy < img.height(); ++yy)
                for (int x = 0; x < img.width(); ++x)
                    if (QColor(img.pixel(x, yy)) != QColor(Qt::white)) right = std::max(right, x);
            return right;
        };
        QVERIFY(inkWidth(doubled) > inkWidth(literal));
    }

    void textIsDrawnOverTheFrame() {
        auto* label = new HoverLabel(QStringLiteral("a long caption that wraps between words"), targets(), m_host);
        label->setGeometry(10, 100, 90, 80);
        label->show();
        label->ConfigureLabel(record("home"));
        const QImage image = test::grabbed(m_host).copy(label->geometry());
        // No background of its own: the parent's white shows around the letters.
        QCOMPARE(QColor(image.pixel(89, 79)), QColor(Qt::white));
        // Wrapped: ink on more than one line.
        int inkRows = 0;
        for (int yy = 0; yy < image.height(); ++yy) {
            bool ink = false;
            for (int x = 0; x < image.width() && !ink; ++x) ink = QColor(image.pixel(x, yy)) != QColor(Qt::white);
            inkRows += ink;
        }
        QVERIFY(inkRows > label->fontMetrics().height());
    }
};

QTEST_MAIN(HoverLabelTest)
#include "hover_label_test.moc"
