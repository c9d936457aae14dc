#pragma once
// The questions and messages a file operation puts to the user. The program
// answers them with message boxes; tests answer them from a script.
#include <string>
#include <vector>

namespace quell::bookmarks {

class FileOperationPrompt {
public:
    virtual ~FileOperationPrompt() = default;
    // Asked once before the paths are removed for good; false keeps them.
    virtual bool confirmDelete(const std::vector<std::string>& paths) = 0;
    // Asked before incoming replaces existing (for two folders: before their
    // contents are merged); false keeps existing untouched.
    virtual bool confirmReplace(const std::string& existing, const std::string& incoming) = 0;
    // Tells the user an operation did not happen; text is a full sentence.
    virtual void reportFailure(const std::string& text) = 0;
};

}  // namespace quell::bookmarks
