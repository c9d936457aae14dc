#pragma once
// A text element of the skin drawn straight onto the frame: no background,
// left-aligned and wrapped between words, '&' underlining the next letter.
// It takes its hover colour under the pointer and runs its command on a press.
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>

#include "core/browser/link_command.h"

namespace quell::ui {

// One "Text%d" entry as the main window read it.
struct LabelRecord {
    std::string face;           // empty: "Ms Sans Serif"
    uint32_t normalColour = 0;  // skin colour values, red in the low byte
    uint32_t hoverColour = 0;
    int fourthValue = 0;  // kept; it has no effect
    int sizePoints = -1;  // -1: 9 points
    int bold = 0;
    int italic = 0;
    int underline = 0;
    std::string keyword;   // command keyword, matched after lower-casing
    std::string argument;  // target of "direct" and "execute"; empty otherwise
};

// The command kind of a label keyword (1..16), or -1 for an unknown one.
int LabelCommandKind(const std::string& keyword);

class HoverLabel : public QWidget {
    Q_OBJECT
public:
    HoverLabel(const QString& caption, browser::LinkTargets targets, QWidget* parent = nullptr);

    void ConfigureLabel(const LabelRecord& record);
    void SetLabelFont(const std::string& face, int size, int bold, int italic, int underline);

    QString caption() const { return m_caption; }
    int kind() const { return m_kind; }
    // False for a keyword that is not a command: the label is plain text.
    bool runsCommand() const { return m_kind != -1; }
    // Runs the label's command as a press on it does.
    void activate();
    int fourthValue() const { return m_fourthValue; }
    QColor currentColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void checkPointerLeft();

    std::string m_argument;
    QString m_caption;
    uint32_t m_currentColour = 0;
    uint32_t m_normalColour = 0;
    uint32_t m_hoverColour = 0;
    int m_fourthValue = 0;
    int m_kind = -1;
    browser::LinkTargets m_targets;
    QTimer m_leaveTimer;
};

}  // namespace quell::ui
