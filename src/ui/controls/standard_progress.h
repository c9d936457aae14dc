#pragma once
// The system progress bar of a skin without a gradient: segmented into
// blocks as the classic control draws it, or one smooth fill when the skin
// asks for the smooth style.
#include <QProgressBar>

namespace quell::ui {

class StandardProgress : public QProgressBar {
    Q_OBJECT
public:
    explicit StandardProgress(QWidget* parent = nullptr);

    void setSmooth(bool smooth);
    bool isSmooth() const { return m_smooth; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_smooth = false;
};

}  // namespace quell::ui
