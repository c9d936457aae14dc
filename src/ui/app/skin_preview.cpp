#include "ui/app/skin_preview.h"

#include <QDir>
#include <QLabel>

#include <cstdio>

#include "core/skin/skin_check.h"
#include "ui/app/core_qt.h"
#include "ui/mainwindow/main_skin_window.h"

namespace quell::ui {

SkinPreview::SkinPreview(QString folder, MainSkinWindow& window)
    : QObject(&window), m_folder(std::move(folder)), m_window(window) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SkinPreview::checkAndReload);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SkinPreview::onChange);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &SkinPreview::onChange);
    watchFolder();
}

QString SkinPreview::noteText() const { return m_note && !m_note->isHidden() ? m_note->text() : QString(); }

void SkinPreview::watchFolder() {
    // Editors often save by writing a new file over the old one's name, which
    // ends the watch on that file: every file is watched afresh each time.
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (m_watcher.directories().isEmpty()) m_watcher.addPath(m_folder);
    const QDir dir(m_folder);
    QStringList files;
    for (const QString& name : dir.entryList(QDir::Files)) files.append(dir.filePath(name));
    if (!files.isEmpty()) m_watcher.addPaths(files);
}

void SkinPreview::onChange() {
    watchFolder();
    m_settle.start();
}

void SkinPreview::checkAndReload() {
    const skin::SkinCheckReport report = skin::CheckSkinFolder(toStdString(m_folder));
    QStringList errors;
    for (const skin::CheckFinding& finding : report.findings) {
        const std::string line = skin::FormatFinding(finding);
        std::fprintf(stderr, "%s\n", line.c_str());
        if (finding.severity == skin::CheckSeverity::Error) errors.append(toQString(line));
    }
    if (!errors.isEmpty()) {
        std::fprintf(stderr, "the skin was not reloaded: %d error(s)\n", report.errorCount());
        showNote(QStringLiteral("The skin was not reloaded:\n") + errors.join(QLatin1Char('\n')));
        return;
    }
    if (!m_window.ReloadSkin()) {
        std::fprintf(stderr, "the skin could not be loaded\n");
        showNote(QStringLiteral("The skin could not be loaded."));
        return;
    }
    std::fprintf(stderr, "the skin was reloaded\n");
    if (m_note) m_note->hide();
}

void SkinPreview::showNote(const QString& text) {
    if (!m_note) {
        m_note = new QLabel(&m_window);
        m_note->setObjectName(QStringLiteral("skinPreviewNote"));
        m_note->setWordWrap(true);
        m_note->setMargin(6);
        m_note->setStyleSheet(QStringLiteral("background: rgb(255,255,225); color: black; border: 1px solid gray;"));
    }
    m_note->setText(text);
    // The browser's rectangle lies inside the window's outline wherever the
    // skin puts it, so the note is never cut off by the shape.
    const QRect area = m_window.browserRect();
    m_note->setFixedWidth(qMax(120, area.width() - 16));
    m_note->adjustSize();
    m_note->move(area.topLeft() + QPoint(8, 8));
    m_note->show();
    m_note->raise();
}

}  // namespace quell::ui
