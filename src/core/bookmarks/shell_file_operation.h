#pragma once
// One delete, move or rename request over lists of paths, carried out on the
// local file system. It stands in for the desktop shell's file-operation
// service and asks the same questions: a confirmation before anything is
// deleted, a question before anything is replaced, a message when something
// cannot be done. Nothing is overwritten or removed without a yes.
#include <string>
#include <vector>

#include "core/bookmarks/file_operation_prompt.h"

namespace quell::bookmarks {

enum class OperationResult {
    Done,      // everything asked for was carried out
    Declined,  // the user said no to (part of) it; what was declined is untouched
    Failed,    // (part of) it could not be done; the user has been told
};

class ShellFileOperation {
public:
    explicit ShellFileOperation(FileOperationPrompt& prompt);

    void AddSource(const std::string& path);
    void AddDestination(const std::string& path);

    // Removes every source, folders with all they hold, after one confirmation.
    OperationResult Delete();
    // Moves every source into the first destination, an existing folder.
    // A clash with an existing file asks before replacing it; a clash of two
    // folders asks once and then merges them entry by entry.
    OperationResult Move();
    // Renames the first source to the first destination inside the same
    // folder; an existing destination is never replaced.
    OperationResult Rename();

private:
    FileOperationPrompt& m_prompt;
    std::vector<std::string> m_sources;
    std::vector<std::string> m_destinations;
};

}  // namespace quell::bookmarks
