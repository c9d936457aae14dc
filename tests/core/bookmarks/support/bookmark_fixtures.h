#pragma once
// Temporary Favorites folders and a scripted prompt for the storage tests.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "core/bookmarks/file_operation_prompt.h"

namespace bookmark_test {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing '/', as the Favorites folder is given.
    std::string path() const { return m_path.string() + "/"; }
    std::filesystem::path root() const { return m_path; }

    void writeFile(const std::string& relative, const std::string& bytes) const;
    void makeFolder(const std::string& relative) const;
    std::string readFile(const std::string& relative) const;
    bool exists(const std::string& relative) const;

private:
    std::filesystem::path m_path;
};

// Answers every question from queued replies (yes when the queue is empty)
// and records what was asked.
class ScriptedPrompt final : public quell::bookmarks::FileOperationPrompt {
public:
    std::deque<bool> answers;
    std::vector<std::vector<std::string>> deleteQuestions;
    std::vector<std::string> replaceQuestions;
    std::vector<std::string> failures;

    bool confirmDelete(const std::vector<std::string>& paths) override;
    bool confirmReplace(const std::string& existing, const std::string& incoming) override;
    void reportFailure(const std::string& text) override;

private:
    bool nextAnswer();
};

}  // namespace bookmark_test
