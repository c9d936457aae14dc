#include "ui/controls/hover_label.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include "core/command_codes.h"
#include "core/skin/skin_entries.h"
#include "ui/controls/font_height.h"
#include "ui/controls/image_conversion.h"
#include "ui/controls/screen_rect.h"

namespace quell::ui {
namespace {

constexpr int kLeaveCheckMs = 10;

// The caption as a screen reader should say it: "&&" is one '&', a single
// '&' only marks the underlined letter.
QString withoutMnemonics(const QString& caption) {
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                name += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        name += caption[i];
    }
    return name;
}

}  // namespace

int LabelCommandKind(const std::string& keyword) { return skin::ActionCode(keyword); }

HoverLabel::HoverLabel(const QString& caption, browser::LinkTargets targets, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_targets(std::move(targets)) {
    // The frame shows around and between the letters.
    setAutoFillBackground(false);
    setMouseTracking(true);
    setAccessibleName(withoutMnemonics(caption));
    m_leaveTimer.setInterval(kLeaveCheckMs);
    connect(&m_leaveTimer, &QTimer::timeout, this, &HoverLabel::checkPointerLeft);
}

void HoverLabel::ConfigureLabel(const LabelRecord& record) {
    m_normalColour = record.normalColour;
    m_currentColour = record.normalColour;
    m_hoverColour = record.hoverColour;
    m_fourthValue = record.fourthValue;
    m_kind = LabelCommandKind(record.keyword);
    m_argument = (m_kind == commands::kDirect || m_kind == commands::kExecute) ? record.argument : std::string();
    SetLabelFont(record.face, record.sizePoints, record.bold, record.italic, record.underline);
    repaint();
}

void HoverLabel::SetLabelFont(const std::string& face, int size, int bold, int italic, int underline) {
    QFont labelFont(QString::fromStdString(face.empty() ? std::string("Ms Sans Serif") : face));
    labelFont.setPixelSize(fontPixelHeight(size == -1 ? 9 : size));
    labelFont.setWeight(bold ? QFont::Bold : QFont::Normal);
    labelFont.setItalic((italic & 0xFF) != 0);
    labelFont.setUnderline((underline & 0xFF) != 0);
    setFont(labelFont);
    update();
}

QColor HoverLabel::currentColour() const { return colourFromValue(m_currentColour); }

void HoverLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(colourFromValue(m_currentColour));
    painter.drawText(
        rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::TextExpandTabs, m_caption);
}

void HoverLabel::mouseMoveEvent(QMouseEvent* event) {
    m_currentColour = m_hoverColour;
    m_leaveTimer.start();
    repaint();
    // The label keeps its mouse input; the frame beneath must not start a drag.
    event->accept();
}

void HoverLabel::activate() {
    // A disabled label gets no press, so it runs nothing either.
    if (!isEnabled()) return;
    browser::RunLinkCommand(m_targets, m_kind, 0, screenRectOf(this), m_argument);
}

void HoverLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) activate();
    event->accept();
}

void HoverLabel::checkPointerLeft() {
    if (pointerInside(this)) return;
    m_leaveTimer.stop();
    m_currentColour = m_normalColour;
    repaint();
}

}  // namespace quell::ui
