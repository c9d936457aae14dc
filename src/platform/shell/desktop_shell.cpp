#include "platform/shell/desktop_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace quell::platform {

bool HasUrlScheme(const std::string& text) {
    size_t colon = text.find(':');
    // One letter before the colon would be a drive letter, not a scheme.
    if (colon == std::string::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = text[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                  (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}

bool DesktopShell::Open(const std::string& target) {
    QString text = QString::fromStdString(target).trimmed();
    if (text.isEmpty()) return false;
    if (HasUrlScheme(target)) return QDesktopServices::openUrl(QUrl(text));
    if (QFileInfo::exists(text))
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
    // Neither an address nor a file: a command line, started on its own.
    QStringList parts = QProcess::splitCommand(text);
    if (parts.isEmpty()) return false;
    QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

}  // namespace quell::platform
