#include "ui/bookmarks/new_folder_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/bookmarks/bookmark_dialog.h"
#include "ui/controls/font_height.h"

namespace quell::ui {

NewFolderDialog::NewFolderDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("New Folder"));
    setFont(pointFont(QString::fromLatin1(kBookmarkDialogFace), kBookmarkDialogPoints));
    setModal(true);
    setFixedSize(227, 77);
    auto* label = new QLabel(QStringLiteral("Name :"), this);
    label->setGeometry(30, 14, 46, 16);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setGeometry(77, 11, 138, 23);
    // A longer name than this is not a file name this system can hold.
    m_name->setMaxLength(255);
    label->setBuddy(m_name);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(24, 42, 75, 23);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(128, 42, 75, 23);
    connect(m_name, &QLineEdit::textChanged, this, &NewFolderDialog::nameChanged);
    connect(m_ok, &QPushButton::clicked, this, &NewFolderDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &NewFolderDialog::reject);
    m_name->setFocus();
}

void NewFolderDialog::nameChanged(const QString& text) { m_ok->setEnabled(!text.isEmpty()); }

void NewFolderDialog::accept() {
    // Enter in the field reaches here too; an empty name is not an answer.
    if (m_name->text().isEmpty()) return;
    m_folderName = m_name->text();
    QDialog::accept();
}

}  // namespace quell::ui
