#include "core/bookmarks/shell_file_operation.h"

#include <cerrno>
#include <filesystem>

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

bool existsNoFollow(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

bool isRealDirectory(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(p, ec));
}

std::string inQuotes(const fs::path& p) { return "\"" + p.string() + "\""; }
std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

std::string reasonOf(const std::error_code& ec) { return ec.message(); }

// A path without trailing separators, so filename() and parent_path() mean
// the entry itself even for "folder/".
fs::path entryPath(const std::string& text) {
    fs::path p(text);
    if (!p.has_filename()) p = p.parent_path();
    return p.lexically_normal();
}

// True when inner is outer or lies below it (both resolved as far as they exist).
bool isSameOrInside(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    fs::path a = fs::weakly_canonical(inner, ec);
    if (ec) a = inner;
    fs::path b = fs::weakly_canonical(outer, ec);
    if (ec) b = outer;
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty()) continue;  // a trailing separator
        if (ai == a.end() || *ai != *bi) return false;
    }
    return true;
}

OperationResult worse(OperationResult a, OperationResult b) {
    if (a == OperationResult::Failed || b == OperationResult::Failed) return OperationResult::Failed;
    if (a == OperationResult::Declined || b == OperationResult::Declined) return OperationResult::Declined;
    return OperationResult::Done;
}

class Mover {
public:
    explicit Mover(FileOperationPrompt& prompt) : m_prompt(prompt) {}

    // Moves source to target, which names the entry's new place.
    OperationResult moveEntry(const fs::path& source, const fs::path& target) {
        if (!existsNoFollow(target)) return relocate(source, target);
        bool sourceIsFolder = isRealDirectory(source);
        bool targetIsFolder = isRealDirectory(target);
        if (sourceIsFolder != targetIsFolder) {
            m_prompt.reportFailure("Cannot move " + inQuotes(source) + ": " + inQuotes(target) +
                                   " already exists and is " + (targetIsFolder ? "a folder." : "a file."));
            return OperationResult::Failed;
        }
        if (!m_prompt.confirmReplace(target.string(), source.string())) return OperationResult::Declined;
        if (!sourceIsFolder) return replaceFile(source, target);
        return mergeFolder(source, target);
    }

private:
    OperationResult relocate(const fs::path& source, const fs::path& target) {
        std::error_code ec;
        fs::rename(source, target, ec);
        if (!ec) return OperationResult::Done;
        if (ec.value() != EXDEV) return failed(source, ec);
        // Another file system: copy under a temporary name, put the copy in
        // place, and only then remove the original.
        fs::path temporary = target.parent_path() / (".quell-move-" + target.filename().string());
        fs::copy(source, temporary, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
        if (!ec) fs::rename(temporary, target, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove_all(temporary, ignored);
            return failed(source, ec);
        }
        fs::remove_all(source, ec);
        if (ec) return failed(source, ec);
        return OperationResult::Done;
    }

    OperationResult replaceFile(const fs::path& source, const fs::path& target) {
        std::error_code ec;
        // rename() replaces a file in one step, so target is never missing.
        fs::rename(source, target, ec);
        if (!ec) return OperationResult::Done;
        if (ec.value() != EXDEV) return failed(source, ec);
        fs::path temporary = target.parent_path() / (".quell-move-" + target.filename().string());
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, ec);
        if (!ec) fs::rename(temporary, target, ec);
        if (!ec) fs::remove(source, ec);
        if (ec) return failed(source, ec);
        return OperationResult::Done;
    }

    OperationResult mergeFolder(const fs::path& source, const fs::path& target) {
        std::error_code ec;
        std::vector<fs::path> children;
        for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec))
            children.push_back(it->path());
        if (ec) return failed(source, ec);
        OperationResult result = OperationResult::Done;
        for (const fs::path& child : children) {
            fs::path childTarget = target / child.filename();
            OperationResult r =
                existsNoFollow(childTarget) ? moveEntry(child, childTarget) : relocate(child, childTarget);
            result = worse(result, r);
        }
        // The source folder goes only when everything in it has moved.
        if (result == OperationResult::Done) {
            fs::remove(source, ec);
            if (ec) return failed(source, ec);
        }
        return result;
    }

    OperationResult failed(const fs::path& source, const std::error_code& ec) {
        m_prompt.reportFailure("Cannot move " + inQuotes(source) + ": " + reasonOf(ec) + ".");
        return OperationResult::Failed;
    }

    FileOperationPrompt& m_prompt;
};

}  // namespace

ShellFileOperation::ShellFileOperation(FileOperationPrompt& prompt) : m_prompt(prompt) {}

void ShellFileOperation::AddSource(const std::string& path) { m_sources.push_back(path); }

void ShellFileOperation::AddDestination(const std::string& path) { m_destinations.push_back(path); }

OperationResult ShellFileOperation::Delete() {
    if (m_sources.empty()) return OperationResult::Done;
    std::vector<std::string> present;
    OperationResult result = OperationResult::Done;
    for (const std::string& text : m_sources) {
        fs::path p = entryPath(text);
        if (text.empty() || p == p.root_path() || !existsNoFollow(p)) {
            m_prompt.reportFailure("Cannot delete " + inQuotes(text) + ": it does not exist.");
            result = OperationResult::Failed;
            continue;
        }
        present.push_back(p.string());
    }
    if (present.empty()) return result;
    if (!m_prompt.confirmDelete(present)) return worse(result, OperationResult::Declined);
    for (const std::string& path : present) {
        std::error_code ec;
        // remove_all removes a symbolic link itself, never what it points to.
        fs::remove_all(path, ec);
        if (ec) {
            m_prompt.reportFailure("Cannot delete " + inQuotes(path) + ": " + reasonOf(ec) + ".");
            result = OperationResult::Failed;
        }
    }
    return result;
}

OperationResult ShellFileOperation::Move() {
    if (m_sources.empty()) return OperationResult::Done;
    if (m_destinations.empty()) {
        m_prompt.reportFailure("Cannot move: no destination folder was given.");
        return OperationResult::Failed;
    }
    fs::path folder = entryPath(m_destinations.front());
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        m_prompt.reportFailure("Cannot move to " + inQuotes(folder) + ": it is not a folder.");
        return OperationResult::Failed;
    }
    Mover mover(m_prompt);
    OperationResult result = OperationResult::Done;
    for (const std::string& text : m_sources) {
        fs::path source = entryPath(text);
        if (text.empty() || !source.has_filename() || !existsNoFollow(source)) {
            m_prompt.reportFailure("Cannot move " + inQuotes(text) + ": it does not exist.");
            result = OperationResult::Failed;
            continue;
        }
        if (isSameOrInside(folder, source)) {
            m_prompt.reportFailure("Cannot move " + inQuotes(source) + ": the destination folder is inside it.");
            result = OperationResult::Failed;
            continue;
        }
        fs::path target = folder / source.filename();
        // Already where it was asked to go: nothing to do.
        if (isSameOrInside(source.parent_path(), folder) && isSameOrInside(folder, source.parent_path())) continue;
        result = worse(result, mover.moveEntry(source, target));
    }
    return result;
}

OperationResult ShellFileOperation::Rename() {
    if (m_sources.empty() || m_destinations.empty()) {
        m_prompt.reportFailure("Cannot rename: no new name was given.");
        return OperationResult::Failed;
    }
    fs::path source = entryPath(m_sources.front());
    fs::path target = fs::path(m_destinations.front()).lexically_normal();
    if (!existsNoFollow(source) || !source.has_filename()) {
        m_prompt.reportFailure("Cannot rename " + inQuotes(m_sources.front()) + ": it does not exist.");
        return OperationResult::Failed;
    }
    std::string newName = target.filename().string();
    if (!target.has_filename() || newName == "." || newName == ".." || target.parent_path() != source.parent_path()) {
        m_prompt.reportFailure("Cannot rename " + inQuotes(source) + ": " + inQuotes(m_destinations.front()) +
                               " is not a valid name.");
        return OperationResult::Failed;
    }
    if (target == source) return OperationResult::Done;
    if (existsNoFollow(target)) {
        m_prompt.reportFailure("Cannot rename " + inQuotes(source) + ": an item named " + inQuotes(target.filename()) +
                               " already exists.");
        return OperationResult::Failed;
    }
    std::error_code ec;
    fs::rename(source, target, ec);
    if (ec) {
        m_prompt.reportFailure("Cannot rename " + inQuotes(source) + ": " + reasonOf(ec) + ".");
        return OperationResult::Failed;
    }
    return OperationResult::Done;
}

}  // namespace quell::bookmarks
