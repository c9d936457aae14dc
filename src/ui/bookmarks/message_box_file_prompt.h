#pragma once
// The file-operation questions and failures as message boxes.
#include <QPointer>
#include <QWidget>

#include "core/bookmarks/file_operation_prompt.h"

namespace quell::ui {

class MessageBoxFilePrompt final : public bookmarks::FileOperationPrompt {
public:
    explicit MessageBoxFilePrompt(QWidget* owner) : m_owner(owner) {}

    bool confirmDelete(const std::vector<std::string>& paths) override;
    bool confirmReplace(const std::string& existing, const std::string& incoming) override;
    void reportFailure(const std::string& text) override;

private:
    QPointer<QWidget> m_owner;
};

}  // namespace quell::ui
