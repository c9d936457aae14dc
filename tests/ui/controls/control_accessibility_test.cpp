#include <QAccessible>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "control_test_support.h"
#include "core/command_codes.h"
#include "core/image/bitmap_writer.h"
#include "ui/controls/control_accessibility.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/resource_bitmap_button.h"
#include "ui/controls/skin_button.h"
#include "ui/controls/status_text_control.h"

using namespace quell;
using namespace quell::ui;

namespace {

enum Control { TooltipButton, UnnamedButton, Photo, GoButton, DirectLabel, UnknownLabel };

QStringList actionsOf(QAccessibleInterface* iface) { return iface->actionInterface()->actionNames(); }

}  // namespace

class ControlAccessibilityTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QWidget* m_host = nullptr;
    test::RecordingSink m_sink;
    test::RecordingSounds m_sounds;
    std::vector<std::string> m_navigated;

    SkinButton* skinButton(int kind, int index, const std::string& toolTip, int controlId = 1025) {
        SkinButtonSpec s;
        s.normalPath = s.hoverPath = s.pressedPath = m_dir.filePath("face.bmp").toStdString();
        s.width = s.height = 20;
        s.controlId = controlId;
        s.kind = kind;
        s.index = index;
        s.soundPath = m_dir.filePath("click.wav").toStdString();
        s.toolTip = toolTip;
        return SkinButton::CreateButton(s, m_host, SkinButtonServices{&m_sink, &m_sounds, nullptr});
    }

    QWidget* make(Control control) {
        const browser::LinkTargets targets{[this](const std::string& url) { m_navigated.push_back(url); }, nullptr,
                                           &m_sink};
        LabelRecord record;
        switch (control) {
        case TooltipButton: return skinButton(commands::kHome, 2, "Home page");
        case UnnamedButton: return skinButton(commands::kMaximize, 0, "");
        case Photo: return skinButton(0, 0, "", kPhotoControlId);
        case GoButton: {
            auto* go = ResourceBitmapButton::CreateResourceButton(126, 216, 0, 0, m_host, &m_sink);
            go->setToolTipText(QStringLiteral("Go Orlune"));
            return go;
        }
        case DirectLabel:
        case UnknownLabel: {
            auto* label = new HoverLabel(QStringLiteral("&Wikipedia"), targets, m_host);
            record.keyword = control == DirectLabel ? "direct" : "nothing";
            record.argument = "https://example.org/";
            label->ConfigureLabel(record);
            return label;
        }
        }
        return nullptr;
    }

    // What the controls asked of the recording services, in one line.
    QString outcome() const {
        QStringList parts;
        for (const test::Dispatch& d : m_sink.calls) parts << QStringLiteral("dispatch %1 %2").arg(d.code).arg(d.index);
        for (const std::string& url : m_navigated) parts << QStringLiteral("navigate ") + QString::fromStdString(url);
        if (!m_sounds.played.empty()) parts << QStringLiteral("sound");
        return parts.join(QStringLiteral(", "));
    }

private slots:
    void initTestCase() {
        installControlAccessibility();
        const image::PixelImage face{20, 20, std::vector<uint32_t>(400, 0xFF4080C0)};
        QVERIFY(!test::writeFile(m_dir.filePath("face.bmp"), image::EncodeBitmap24(face)).empty());
    }

    void init() {
        m_host = new QWidget;
        m_host->resize(300, 200);
        m_sink.calls.clear();
        m_sounds.played.clear();
        m_navigated.clear();
    }

    void cleanup() { delete m_host; }

    void controlsHaveRoleNameAndPress_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        // Empty when the control has no Press action.
        QTest::addColumn<QString>("pressed");
        auto row = [](const char* name, Control control, QAccessible::Role role, const char* label,
                      const char* pressed) {
            QTest::newRow(name) << int(control) << int(role) << QString(label) << QString(pressed);
        };
        row("skin button", TooltipButton, QAccessible::Button, "Home page", "dispatch 3 2, sound");
        row("skin button without tooltip", UnnamedButton, QAccessible::Button, "Maximize", "dispatch 9 0, sound");
        row("photo picture", Photo, QAccessible::Graphic, "Photo", "");
        row("Go button", GoButton, QAccessible::Button, "Go Orlune", "dispatch 126 0");
        row("direct label", DirectLabel, QAccessible::Link, "Wikipedia", "navigate https://example.org/");
        row("label without command", UnknownLabel, QAccessible::StaticText, "Wikipedia", "");
    }

    void controlsHaveRoleNameAndPress() {
        QFETCH(int, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, pressed);
        QWidget* widget = make(static_cast<Control>(control));
        QVERIFY(widget);
        m_host->show();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(actionsOf(iface).contains(QAccessibleActionInterface::pressAction()), !pressed.isEmpty());
        if (pressed.isEmpty()) return;

        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(outcome(), pressed);

        // A disabled control says so, and pressing it does nothing.
        widget->setEnabled(false);
        QVERIFY(iface->state().disabled);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(outcome(), pressed);
        // Hidden, it is not showing.
        widget->hide();
        QVERIFY(iface->state().invisible);
    }

    void statusTextIsReadAsText() {
        auto* status = new StatusTextControl(m_host);
        m_host->show();

        QAccessibleInterface* text = QAccessible::queryAccessibleInterface(status);
        QCOMPARE(text->role(), QAccessible::StatusBar);
        status->setText(QStringLiteral("Opening page http://a.example/"));
        QCOMPARE(text->text(QAccessible::Name), QStringLiteral("Opening page http://a.example/"));
        QVERIFY(text->textInterface());
        QCOMPARE(text->textInterface()->characterCount(), 30);
        QCOMPARE(text->textInterface()->text(13, -1), QStringLiteral("http://a.example/"));
    }

    void tabReachesButtonsWhichKeysPress() {
        auto* address = new QLineEdit(m_host);
        SkinButton* back = skinButton(commands::kBack, 0, "Back");
        SkinButton* forward = skinButton(commands::kForward, 1, "Forward");
        back->move(0, 40);
        forward->move(40, 40);
        QWidget::setTabOrder(address, back);
        QWidget::setTabOrder(back, forward);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowActive(m_host));
        address->setFocus();
        const QImage plain = test::grabbed(back);

        // A click presses without taking the focus; the picture stays as it was.
        // The button reads as pressed while the mouse holds it down.
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(back);
        test::pressAt(back, QPoint(5, 5));
        QVERIFY(iface->state().pressed);
        test::releaseAt(back, QPoint(5, 5));
        QVERIFY(!iface->state().pressed);
        QCOMPARE(outcome(), QStringLiteral("dispatch 1 0, sound"));
        QVERIFY(address->hasFocus());
        back->setFocus(Qt::MouseFocusReason);
        QCOMPARE(test::grabbed(back), plain);
        address->setFocus();

        m_sink.calls.clear();
        m_sounds.played.clear();
        QTest::keyClick(address, Qt::Key_Tab);
        QVERIFY(back->hasFocus());
        QVERIFY(test::grabbed(back) != plain);
        QTest::keyClick(back, Qt::Key_Space);
        QTest::keyClick(back, Qt::Key_Tab);
        QVERIFY(forward->hasFocus());
        QVERIFY(test::grabbed(back) == plain);
        QTest::keyClick(forward, Qt::Key_Return);
        QCOMPARE(outcome(), QStringLiteral("dispatch 1 0, dispatch 2 1, sound"));
    }
};

QTEST_MAIN(ControlAccessibilityTest)
#include "control_accessibility_test.moc"
