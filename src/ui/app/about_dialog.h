#pragma once
#include <QDialog>

namespace quell::ui {

// The program icon, drawn from source: a rounded blue tile with a white "Q".
QIcon ProgramIcon();

// "About Quellcore": the icon, the version line and one OK button.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace quell::ui
