#include "platform/shell/desktop_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace quell::platform {

bool DesktopShell::OpenAddress(const std::string& address) {
    const QString text = QString::fromStdString(address).trimmed();
    if (!browser::IsOpenableScheme(browser::AddressScheme(text.toStdString()))) return false;
    return QDesktopServices::openUrl(QUrl(text));
}

bool DesktopShell::RunSkinEntry(const std::string& entry) {
    const QString text = QString::fromStdString(entry).trimmed();
    if (text.isEmpty()) return false;
    if (!browser::AddressScheme(text.toStdString()).empty()) return QDesktopServices::openUrl(QUrl(text));
    if (QFileInfo::exists(text))
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
    // Neither an address nor a file: a command line, started on its own.
    QStringList parts = QProcess::splitCommand(text);
    if (parts.isEmpty()) return false;
    QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

}  // namespace quell::platform
