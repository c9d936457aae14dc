#include "ui/bookmarks/message_box_file_prompt.h"

#include <QFileInfo>
#include <QMessageBox>

namespace quell::ui {

namespace {

QString nameOf(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.fileName().isEmpty() ? QString::fromStdString(path) : info.fileName();
}

bool ask(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool MessageBoxFilePrompt::confirmDelete(const std::vector<std::string>& paths) {
    if (paths.empty()) return false;
    QString text =
        paths.size() == 1
            ? QStringLiteral("Are you sure you want to permanently delete \"%1\"?").arg(nameOf(paths.front()))
            : QStringLiteral("Are you sure you want to permanently delete these %1 items?").arg(paths.size());
    if (paths.size() == 1 && QFileInfo(QString::fromStdString(paths.front())).isDir())
        text += QStringLiteral("\n\nEverything in the folder is deleted with it.");
    return ask(m_owner, QStringLiteral("Confirm Delete"), text);
}

bool MessageBoxFilePrompt::confirmReplace(const std::string& existing, const std::string& incoming) {
    QFileInfo info(QString::fromStdString(existing));
    QString text =
        info.isDir()
            ? QStringLiteral("This folder already contains a folder named \"%1\".\n\nMove the items of \"%2\" into it?")
                  .arg(nameOf(existing), nameOf(incoming))
            : QStringLiteral("\"%1\" already exists.\n\nDo you want to replace it?").arg(nameOf(existing));
    return ask(m_owner, QStringLiteral("Confirm Replace"), text);
}

void MessageBoxFilePrompt::reportFailure(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Bookmark"), QString::fromStdString(text), QMessageBox::Ok,
                    m_owner);
    box.exec();
}

}  // namespace quell::ui
