#pragma once
// Shared helpers of the bookmark widget tests: a temporary Favorites folder,
// a scripted prompt, tree look-ups by path and the dialog opened over them.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/bookmarks/file_operation_prompt.h"
#include "ui/bookmarks/bookmark_dialog.h"

namespace bookmark_test {

class Favorites {
public:
    Favorites() { QDir(m_dir.path()).mkpath("."); }
    std::string folder() const { return (m_dir.path() + "/").toStdString(); }
    QString path(const QString& relative) const { return m_dir.path() + "/" + relative; }
    void write(const QString& relative, const QByteArray& bytes) const {
        QDir(m_dir.path()).mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    void shortcut(const QString& relative, const QByteArray& url) const {
        write(relative, "[InternetShortcut]\r\nURL=" + url + "\r\n");
    }
    void mkdir(const QString& relative) const { QDir(m_dir.path()).mkpath(relative); }
    QByteArray read(const QString& relative) const {
        QFile f(path(relative));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }

private:
    QTemporaryDir m_dir;
};

class ScriptedPrompt final : public quell::bookmarks::FileOperationPrompt {
public:
    std::deque<bool> answers;
    int deleteQuestions = 0;
    int replaceQuestions = 0;
    std::vector<std::string> failures;

    bool confirmDelete(const std::vector<std::string>&) override {
        ++deleteQuestions;
        return next();
    }
    bool confirmReplace(const std::string&, const std::string&) override {
        ++replaceQuestions;
        return next();
    }
    void reportFailure(const std::string& text) override { failures.push_back(text); }

private:
    bool next() {
        if (answers.empty()) return true;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

// The item at a '/'-joined label path from the top level, or null.
inline QTreeWidgetItem* findItem(QTreeWidget* tree, const QString& path) {
    const QStringList labels = path.split('/');
    QTreeWidgetItem* item = nullptr;
    for (const QString& label : labels) {
        QTreeWidgetItem* next = nullptr;
        int count = item ? item->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* c = item ? item->child(i) : tree->topLevelItem(i);
            if (c->text(0) == label) next = c;
        }
        if (!next) return nullptr;
        item = next;
    }
    return item;
}

// The labels of an item's children, sorted.
inline QStringList childLabels(const QTreeWidgetItem* item) {
    QStringList labels;
    for (int i = 0; i < item->childCount(); ++i) labels << item->child(i)->text(0);
    labels.sort();
    return labels;
}

// A Favorites folder, a scripted prompt and a folder-name question answered
// from folderAnswer, and the bookmark dialog opened over them.
struct DialogFixture {
    Favorites favorites;
    ScriptedPrompt prompt;
    int folderQuestions = 0;
    std::optional<QString> folderAnswer;

    std::unique_ptr<quell::ui::BookmarkDialog> open(const QString& title = QString(), const QString& url = QString()) {
        quell::ui::BookmarkDialog::Services services;
        services.favoritesFolder = favorites.folder();
        services.prompt = &prompt;
        services.askFolderName = [this](QWidget*) {
            ++folderQuestions;
            return folderAnswer;
        };
        auto dialog = std::make_unique<quell::ui::BookmarkDialog>(title, url, services);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        if (!QTest::qWaitForWindowExposed(dialog.get())) qWarning("dialog not exposed");
        return dialog;
    }
};

}  // namespace bookmark_test
