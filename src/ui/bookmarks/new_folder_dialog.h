#pragma once
// "New Folder": asks for the name of a bookmark folder. OK is enabled exactly
// while the name field holds at least one character.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quell::ui {

class NewFolderDialog : public QDialog {
    Q_OBJECT

public:
    explicit NewFolderDialog(QWidget* parent = nullptr);

    // The entered name; empty until the dialog ends with OK.
    QString folderName() const { return m_folderName; }
    QLineEdit* nameField() const { return m_name; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    void nameChanged(const QString& text);

    QLineEdit* m_name;
    QPushButton* m_ok;
    QString m_folderName;
};

}  // namespace quell::ui
