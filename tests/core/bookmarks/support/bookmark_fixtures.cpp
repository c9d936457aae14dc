#include "bookmark_fixtures.h"

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace bookmark_test {

TempFolder::TempFolder() {
    std::random_device random;
    m_path = fs::temp_directory_path() / ("quell-bookmarks-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Read-only folders made by a test must become writable again to go.
    for (fs::recursive_directory_iterator it(m_path, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

void TempFolder::writeFile(const std::string& relative, const std::string& bytes) const {
    fs::path p = m_path / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

void TempFolder::makeFolder(const std::string& relative) const { fs::create_directories(m_path / relative); }

std::string TempFolder::readFile(const std::string& relative) const {
    std::ifstream in(m_path / relative, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool TempFolder::exists(const std::string& relative) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(m_path / relative, ec));
}

bool ScriptedPrompt::nextAnswer() {
    if (answers.empty()) return true;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedPrompt::confirmDelete(const std::vector<std::string>& paths) {
    deleteQuestions.push_back(paths);
    return nextAnswer();
}

bool ScriptedPrompt::confirmReplace(const std::string& existing, const std::string&) {
    replaceQuestions.push_back(existing);
    return nextAnswer();
}

void ScriptedPrompt::reportFailure(const std::string& text) { failures.push_back(text); }

}  // namespace bookmark_test
