#pragma once
// The page-load progress bar drawn as a 255-band colour ramp that the
// position uncovers; the rest of the bar shows the background colour.
#include <QProgressBar>

#include <cstdint>

namespace quell::ui {

class GradientProgress : public QProgressBar {
    Q_OBJECT
public:
    explicit GradientProgress(QWidget* parent = nullptr);

    // Stores the range and moves the position to its lower end.
    void SetRange(int lower, int upper);
    // Any value is kept, even outside the range (a bar past its end paints empty).
    void SetPos(int position);
    int Pos() const { return m_position; }

    // Colours are skin colour values, red in the low byte.
    void setStartColour(uint32_t colour) { m_startColour = colour; }
    void setEndColour(uint32_t colour) { m_endColour = colour; }
    void setBackgroundColour(uint32_t colour) { m_backgroundColour = colour; }
    void setTextColour(uint32_t colour) { m_textColour = colour; }
    void setVertical(bool vertical) { m_vertical = vertical; }
    void setShowPercentage(bool show) { m_showPercentage = show; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_vertical = false;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
    uint32_t m_startColour = 255;
    uint32_t m_endColour = 16711680;
    uint32_t m_backgroundColour = 7016744;
    uint32_t m_textColour = 0xFFFFFF;
    bool m_showPercentage = false;
};

}  // namespace quell::ui
