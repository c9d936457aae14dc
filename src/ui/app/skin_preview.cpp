#include "ui/app/skin_preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>

#include <cstdio>

#include "core/skin/layout_map.h"
#include "core/skin/skin_check.h"
#include "ui/app/core_qt.h"
#include "ui/app/layout_map_overlay.h"
#include "ui/app/preview_messages.h"
#include "ui/app/preview_photo.h"
#include "ui/mainwindow/main_skin_window.h"

namespace quell::ui {

SkinPreview::SkinPreview(PreviewSetup setup, MainSkinWindow& window, PreviewMessages& messages)
    : QObject(&window), m_setup(std::move(setup)), m_window(window), m_messages(messages) {
    m_messages.setListener([this](const QString& text) { onMessage(text); });
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SkinPreview::checkAndReload);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SkinPreview::onChange);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &SkinPreview::onChange);
    watchFolder();
    QCoreApplication::instance()->installEventFilter(this);
    // The window has loaded nothing yet; the map is drawn once it has.
    if (m_setup.alwaysShowMap) QTimer::singleShot(0, this, [this] { showMap(true); });
}

// The window may still show a message while it is destroyed, after its
// children: from then on messages go to standard error alone.
SkinPreview::~SkinPreview() {
    m_messages.setListener({});
    QCoreApplication::instance()->removeEventFilter(this);
}

bool SkinPreview::mapShown() const { return m_map && !m_map->isHidden(); }

bool SkinPreview::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // A child made later (the browser's view once the engine starts, the
    // elements of a reload) goes on top of its siblings and would cover the
    // note and the map.
    if (type == QEvent::ChildAdded && watched == &m_window && (mapShown() || !noteText().isEmpty()))
        QTimer::singleShot(0, this, [this] {
            if (m_note && !m_note->isHidden()) m_note->raise();
            if (mapShown()) m_map->raise();
        });
    // The maximized layout hides the skin, and with it the map of the skin.
    if (type == QEvent::WindowStateChange && watched == &m_window && m_map)
        QTimer::singleShot(0, this, [this] { showMap(m_mapKeyHeld || m_setup.alwaysShowMap); });
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats as pairs of releases and presses.
        if (key->key() == kMapKey && !key->isAutoRepeat()) {
            const bool held = type == QEvent::KeyPress;
            // Each event passes every widget it is sent through; the first
            // one to come changes the state.
            if (held != m_mapKeyHeld) {
                m_mapKeyHeld = held;
                showMap(held || m_setup.alwaysShowMap);
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void SkinPreview::showMap(bool show) {
    if (!show || m_window.windowIsMaximized()) {
        if (m_map) m_map->hide();
        return;
    }
    if (!m_map) m_map = new LayoutMapOverlay(&m_window);
    refreshMap();
    m_map->show();
    m_map->raise();
}

void SkinPreview::refreshMap() {
    const skin::LoadedLayoutMap loaded = skin::LoadLayoutMap(m_setup.descriptionPath, m_setup.photo->path());
    if (!loaded.error.empty()) {
        std::fprintf(stderr, "no layout map: %s\n", loaded.error.c_str());
        return;
    }
    m_map->setMap(loaded.map);
    // The legend goes with the picture, to standard error like every other
    // line of the preview.
    std::fprintf(stderr, "layout map:\n%s", skin::FormatLayoutLegend(loaded.map).c_str());
}

QString SkinPreview::noteText() const { return m_note && !m_note->isHidden() ? m_note->text() : QString(); }

void SkinPreview::watchFolder() {
    // Editors often save by writing a new file over the old one's name, which
    // ends the watch on that file: every file is watched afresh each time.
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (m_watcher.directories().isEmpty()) m_watcher.addPath(m_setup.folder);
    const QDir dir(m_setup.folder);
    QStringList files;
    for (const QString& name : dir.entryList(QDir::Files)) files.append(dir.filePath(name));
    if (!files.isEmpty()) m_watcher.addPaths(files);
}

void SkinPreview::onChange() {
    watchFolder();
    m_settle.start();
}

void SkinPreview::checkAndReload() {
    const skin::SkinCheckReport report = skin::CheckSkinFolder(toStdString(m_setup.folder));
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
    m_loadMessages.clear();
    m_setup.photo->refresh();
    if (!m_window.ReloadSkin()) {
        std::fprintf(stderr, "the skin could not be loaded\n");
        showNote(QStringLiteral("The skin could not be loaded."));
        return;
    }
    std::fprintf(stderr, "the skin was reloaded\n");
    if (m_loadMessages.isEmpty() && m_note) m_note->hide();
    // The new elements were made above the map: it goes on top again.
    if (mapShown()) showMap(true);
}

void SkinPreview::onMessage(const QString& text) {
    // The message has been written to standard error already. An empty one
    // is a message box without text, which the note still owes a line.
    m_loadMessages.append(text.isEmpty() ? QStringLiteral("(an empty message)") : text);
    showNote(QStringLiteral("The skin showed these messages:\n") + m_loadMessages.join(QLatin1Char('\n')));
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
