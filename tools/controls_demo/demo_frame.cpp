#include "demo_frame.h"

#include <QFile>

#include <cmath>
#include <QPainter>
#include <QPainterPath>

#include "core/image/bitmap_writer.h"
#include "core/image/gif_encoder.h"
#include "platform/sound/sound_effect_player.h"
#include "ui/app/qt_message_sink.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/gradient_progress.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/image_conversion.h"
#include "ui/controls/maximized_toolbar.h"
#include "ui/controls/resource_bitmap_button.h"
#include "ui/controls/skin_button.h"
#include "ui/controls/status_text_control.h"

namespace quell::demo {
namespace {

constexpr uint32_t kMagenta = 16711935;

bool writeBytes(const QString& path, const std::vector<uint8_t>& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

}  // namespace

DemoFrame::DemoFrame()
    : m_sounds(std::make_unique<platform::SoundEffectPlayer>()), m_messages(std::make_unique<ui::QtMessageSink>(this)) {
    setWindowTitle(QStringLiteral("Skin controls"));
    resize(760, 420);

    // The maximized-mode toolbar across the top, as when the window is maximized.
    auto* toolbar = new ui::MaximizedToolbar(
        {"example.com/", "example.org/news", "intranet.local/"},
        [this](const std::string& url) {
            report(QStringLiteral("toolbar navigates to ") + QString::fromStdString(url));
        },
        this, this);
    toolbar->setGeometry(0, 0, width(), 28);

    // Skin buttons: one opaque, one with magenta keyed out so the frame shows through.
    const std::string normal = writeButtonPicture("n.bmp", QColor(70, 110, 170), Qt::white);
    const std::string pressed = writeButtonPicture("p.bmp", QColor(30, 60, 110), QColor(255, 220, 120));
    const std::string hover = writeButtonPicture("h.bmp", QColor(100, 150, 220), Qt::white);
    ui::SkinButtonSpec back;
    back.normalPath = normal;
    back.pressedPath = pressed;
    back.hoverPath = hover;
    back.x = 30;
    back.y = 60;
    back.width = 64;
    back.height = 40;
    back.controlId = 1025;
    back.kind = 1;
    back.index = 0;
    back.soundPath = m_media.filePath("NULL").toStdString();
    back.toolTip = "Back";
    ui::SkinButton::CreateButton(back, this, {this, m_sounds.get(), m_messages.get()});
    ui::SkinButtonSpec keyed = back;
    keyed.x = 110;
    keyed.width = 96;
    keyed.height = 60;
    keyed.kind = 3;
    keyed.transparent = true;
    keyed.keyColour = kMagenta;
    keyed.toolTip = "Home";
    ui::SkinButton::CreateButton(keyed, this, {this, m_sounds.get(), m_messages.get()});

    // The Go button beside a skin address bar.
    if (auto* go = ui::ResourceBitmapButton::CreateResourceButton(126, 216, 30, 140, this, this))
        go->setToolTipText(QStringLiteral("Go Orlune"));
    auto* address = new ui::AddressCombo(
        {"example.com/", "example.org/news"},
        [this](const std::string& url) {
            report(QStringLiteral("address bar navigates to ") + QString::fromStdString(url));
        },
        this);
    address->setGeometry(71, 139, 300, 22);

    // Labels: a link, a launcher and a plain command with '&' marking a letter.
    browser::LinkTargets targets{
        [this](const std::string& url) { report(QStringLiteral("label navigates to ") + QString::fromStdString(url)); },
        [this](const std::string& cmd) { report(QStringLiteral("label opens ") + QString::fromStdString(cmd)); }, this};
    struct LabelSpec {
        const char* caption;
        const char* keyword;
        const char* argument;
        int y;
    } labels[] = {{"Visit the example site", "direct", "http://example.com/a,b", 190},
                  {"Open a terminal", "execute", "xterm", 215},
                  {"&Home, with a comma", "home", "", 240},
                  {"A label whose keyword is unknown still lights up when pointed at", "nothing", "", 265}};
    for (const LabelSpec& l : labels) {
        auto* label = new ui::HoverLabel(QString::fromUtf8(l.caption), targets, this);
        label->setGeometry(30, l.y, 220, l.y == 265 ? 54 : 22);
        ui::LabelRecord record;
        record.normalColour = 0xFFFFFF;
        record.hoverColour = 0x00FFFF;  // yellow
        record.sizePoints = 10;
        record.bold = l.y == 190;
        record.underline = l.y == 190;
        record.keyword = l.keyword;
        record.argument = l.argument;
        label->ConfigureLabel(record);
    }

    // Progress bars, horizontal with its percentage and vertical, and the busy animation.
    m_horizontal = new ui::GradientProgress(this);
    m_horizontal->setGeometry(300, 190, 300, 16);
    m_horizontal->setShowPercentage(true);
    m_horizontal->SetRange(0, 100);
    m_vertical = new ui::GradientProgress(this);
    m_vertical->setGeometry(640, 60, 16, 300);
    m_vertical->setVertical(true);
    m_vertical->setStartColour(0xFFFFFF);
    m_vertical->setEndColour(0xFF8000);
    m_vertical->SetRange(0, 100);
    m_busy = ui::GifAnimator::CreateAnimator(this, 300, 60, writeAnimation(), m_messages.get());
    if (m_busy) m_busy->StartAnimation();
    connect(&m_progressTimer, &QTimer::timeout, this, &DemoFrame::advanceProgress);
    m_progressTimer.start(60);

    m_status = new ui::StatusTextControl(this);
    m_status->setGeometry(30, 380, 600, 18);
    m_status->SetTextColour(-1);
    m_status->setText(QStringLiteral("Point at and press the controls; what they ask for appears here."));
}

DemoFrame::~DemoFrame() = default;

void DemoFrame::DispatchCommand(int code, int index, browser::ScreenRect r) {
    report(QStringLiteral("DispatchCommand(%1, %2, {%3, %4, %5, %6})")
               .arg(code)
               .arg(index)
               .arg(r.left)
               .arg(r.top)
               .arg(r.right)
               .arg(r.bottom));
}

void DemoFrame::report(const QString& text) {
    if (m_status) m_status->setText(text);
}

void DemoFrame::advanceProgress() {
    m_progress = (m_progress + 1) % 110;
    m_horizontal->SetPos(m_progress);
    m_vertical->SetPos(m_progress);
    // The busy animation runs while the "page" loads, as between DownloadBegin and DownloadComplete.
    if (m_busy) {
        if (m_progress == 100) m_busy->PauseAnimation(), m_busy->update();
        else if (m_progress == 0) m_busy->ResumeAnimation();
    }
}

void DemoFrame::paintEvent(QPaintEvent*) {
    // A stand-in for a skin's frame bitmap: a diagonal pattern that shows
    // through keyed-out buttons and around the labels' letters.
    QPainter p(this);
    p.fillRect(rect(), QColor(48, 64, 88));
    p.setPen(QPen(QColor(64, 84, 112), 6));
    for (int x = -height(); x < width(); x += 24) p.drawLine(x, height(), x + height(), 0);
}

std::string DemoFrame::writeButtonPicture(const QString& name, const QColor& face, const QColor& ink) {
    // A rounded face on magenta, so that keying out magenta leaves a round button.
    QImage image(48, 30, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    p.setBrush(face);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 46, 28), 12, 12);
    QPainterPath arrow;
    arrow.moveTo(14, 15);
    arrow.lineTo(24, 7);
    arrow.lineTo(24, 23);
    arrow.closeSubpath();
    p.fillPath(arrow, ink);
    p.fillRect(QRectF(24, 12, 10, 6), ink);
    p.end();
    const QString path = m_media.filePath(name);
    writeBytes(path, image::EncodeBitmap24(ui::toPixelImage(image)));
    return path.toStdString();
}

std::string DemoFrame::writeAnimation() {
    // Eight images of a dot going round, 10 hundredths each, with a transparent corner.
    image::GifFile gif;
    gif.globalColours = {0x203040, 0xF0C040, 0x000000, 0xFFFFFF};
    constexpr int kSize = 32;
    for (int step = 0; step < 8; ++step) {
        image::GifFrame frame;
        frame.width = kSize;
        frame.height = kSize;
        frame.delay = 10;
        frame.transparent = 2;
        frame.indices.assign(kSize * kSize, 0);
        const double angle = step * 3.14159265 / 4;
        const int cx = 16 + static_cast<int>(10 * std::cos(angle)), cy = 16 + static_cast<int>(10 * std::sin(angle));
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= 16)
                    frame.indices[static_cast<size_t>(y * kSize + x)] = 1;
                if (x + y < 4) frame.indices[static_cast<size_t>(y * kSize + x)] = 2;
            }
        gif.frames.push_back(std::move(frame));
    }
    const QString path = m_media.filePath("busy.gif");
    writeBytes(path, image::EncodeGif(gif));
    return path.toStdString();
}

}  // namespace quell::demo
