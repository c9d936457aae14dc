#include "core/bookmarks/shell_file_operation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/bookmark_fixtures.h"

using namespace quell::bookmarks;
using bookmark_test::ScriptedPrompt;
using bookmark_test::TempFolder;

namespace {

const std::string kShortcutA = "[InternetShortcut]\r\nURL=http://a/\r\n";
const std::string kShortcutB = "[InternetShortcut]\r\nURL=http://b/\r\n";

OperationResult rename(ScriptedPrompt& prompt, const std::string& from, const std::string& to) {
    ShellFileOperation op(prompt);
    op.AddSource(from);
    op.AddDestination(to);
    return op.Rename();
}

OperationResult move(ScriptedPrompt& prompt, const std::string& from, const std::string& intoFolder) {
    ShellFileOperation op(prompt);
    op.AddSource(from);
    op.AddDestination(intoFolder);
    return op.Move();
}

using Operation = OperationResult (*)(ScriptedPrompt&, const std::string&, const std::string&);

// Every folder and file under the root with the file's bytes, sorted.
std::vector<std::string> contents(const TempFolder& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.root())) {
        const std::string name = std::filesystem::relative(e.path(), dir.root()).string();
        out.push_back(e.is_directory() ? name + "/" : name + " = " + dir.readFile(name));
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(ShellFileOperationDelete, RemovesFolderWithContentsAfterConfirmation) {
    TempFolder dir;
    dir.writeFile("Work/Sub/Mail.url", kShortcutA);
    ScriptedPrompt prompt;
    ShellFileOperation op(prompt);
    op.AddSource(dir.path() + "Work");
    EXPECT_EQ(op.Delete(), OperationResult::Done);
    ASSERT_EQ(prompt.deleteQuestions.size(), 1u);
    EXPECT_EQ(prompt.deleteQuestions[0], std::vector<std::string>{dir.path() + "Work"});
    EXPECT_FALSE(dir.exists("Work"));
}

TEST(ShellFileOperationDelete, NoKeepsEverything) {
    TempFolder dir;
    dir.writeFile("News.url", kShortcutA);
    ScriptedPrompt prompt;
    prompt.answers = {false};
    ShellFileOperation op(prompt);
    op.AddSource(dir.path() + "News.url");
    EXPECT_EQ(op.Delete(), OperationResult::Declined);
    EXPECT_EQ(dir.readFile("News.url"), kShortcutA);
}

TEST(ShellFileOperationDelete, MissingOrEmptySourceIsReportedNotAsked) {
    ScriptedPrompt prompt;
    ShellFileOperation op(prompt);
    op.AddSource("/nonexistent/quell/x.url");
    op.AddSource("");
    op.AddSource("/");
    EXPECT_EQ(op.Delete(), OperationResult::Failed);
    EXPECT_TRUE(prompt.deleteQuestions.empty());
    EXPECT_EQ(prompt.failures.size(), 3u);
}

TEST(ShellFileOperationDelete, LinkGoesButNotWhatItPointsTo) {
    TempFolder dir;
    dir.writeFile("Real/Keep.url", kShortcutA);
    std::filesystem::create_directory_symlink(dir.root() / "Real", dir.root() / "Link");
    ScriptedPrompt prompt;
    ShellFileOperation op(prompt);
    op.AddSource(dir.path() + "Link");
    EXPECT_EQ(op.Delete(), OperationResult::Done);
    EXPECT_FALSE(dir.exists("Link"));
    EXPECT_EQ(dir.readFile("Real/Keep.url"), kShortcutA);
}

TEST(ShellFileOperationRename, RenamesInPlace) {
    TempFolder dir;
    dir.writeFile("Old.url", kShortcutA);
    ScriptedPrompt prompt;
    EXPECT_EQ(rename(prompt, dir.path() + "Old.url", dir.path() + "New.url"), OperationResult::Done);
    EXPECT_FALSE(dir.exists("Old.url"));
    EXPECT_EQ(dir.readFile("New.url"), kShortcutA);
    EXPECT_TRUE(prompt.failures.empty());
}

TEST(ShellFileOperationMove, MovesFolderWithContents) {
    TempFolder dir;
    dir.writeFile("Work/Sub/Mail.url", kShortcutA);
    dir.writeFile("Work/Top.url", kShortcutB);
    dir.makeFolder("Archive");
    ScriptedPrompt prompt;
    EXPECT_EQ(move(prompt, dir.path() + "Work", dir.path() + "Archive/"), OperationResult::Done);
    EXPECT_FALSE(dir.exists("Work"));
    EXPECT_EQ(dir.readFile("Archive/Work/Sub/Mail.url"), kShortcutA);
    EXPECT_EQ(dir.readFile("Archive/Work/Top.url"), kShortcutB);
}

TEST(ShellFileOperationMove, MovesUpToTheTopFolder) {
    TempFolder dir;
    dir.writeFile("A/B/In.url", kShortcutA);
    ScriptedPrompt prompt;
    EXPECT_EQ(move(prompt, dir.path() + "A/B", dir.path()), OperationResult::Done);
    EXPECT_EQ(dir.readFile("B/In.url"), kShortcutA);
    EXPECT_FALSE(dir.exists("A/B"));
}

TEST(ShellFileOperationMove, IntoOwnFolderChangesNothing) {
    TempFolder dir;
    dir.writeFile("Work/In.url", kShortcutA);
    ScriptedPrompt prompt;
    EXPECT_EQ(move(prompt, dir.path() + "Work/In.url", dir.path() + "Work/"), OperationResult::Done);
    EXPECT_EQ(dir.readFile("Work/In.url"), kShortcutA);
    EXPECT_TRUE(prompt.replaceQuestions.empty());
}

TEST(ShellFileOperationMove, ClashAsksThenReplacesOrKeepsBoth) {
    for (const bool replace : {true, false}) {
        SCOPED_TRACE(replace ? "yes" : "no");
        TempFolder dir;
        dir.writeFile("A.url", kShortcutA);
        dir.writeFile("Work/A.url", kShortcutB);
        ScriptedPrompt prompt;
        prompt.answers = {replace};
        EXPECT_EQ(move(prompt, dir.path() + "A.url", dir.path() + "Work/"),
                  replace ? OperationResult::Done : OperationResult::Declined);
        ASSERT_EQ(prompt.replaceQuestions.size(), 1u);
        EXPECT_EQ(std::filesystem::path(prompt.replaceQuestions[0]), dir.root() / "Work" / "A.url");
        EXPECT_EQ(dir.exists("A.url"), !replace);
        EXPECT_EQ(dir.readFile("Work/A.url"), replace ? kShortcutA : kShortcutB);
    }
}

TEST(ShellFileOperationMove, FolderClashMergesAndKeepsDeclinedFiles) {
    TempFolder dir;
    dir.writeFile("Work/Same.url", kShortcutA);
    dir.writeFile("Work/New.url", kShortcutA);
    dir.writeFile("Archive/Work/Same.url", kShortcutB);
    dir.writeFile("Archive/Work/Old.url", kShortcutB);
    ScriptedPrompt prompt;
    prompt.answers = {true, false};  // merge the folders, keep the existing Same.url
    EXPECT_EQ(move(prompt, dir.path() + "Work", dir.path() + "Archive/"), OperationResult::Declined);
    EXPECT_EQ(prompt.replaceQuestions.size(), 2u);
    EXPECT_EQ(dir.readFile("Archive/Work/New.url"), kShortcutA);
    EXPECT_EQ(dir.readFile("Archive/Work/Old.url"), kShortcutB);
    EXPECT_EQ(dir.readFile("Archive/Work/Same.url"), kShortcutB);
    // What was declined stays where it was, so nothing is lost.
    EXPECT_EQ(dir.readFile("Work/Same.url"), kShortcutA);
    EXPECT_FALSE(dir.exists("Work/New.url"));
}

TEST(ShellFileOperation, RefusedRenamesAndMovesReportOnceAndChangeNothing) {
    TempFolder dir;
    dir.writeFile("A.url", kShortcutA);
    dir.writeFile("B.url", kShortcutB);
    dir.writeFile("Work/In.url", kShortcutA);
    dir.writeFile("Dir/Sub/In.url", kShortcutA);
    dir.writeFile("Plain", kShortcutA);
    dir.writeFile("Archive/Plain/In.url", kShortcutB);
    const std::vector<std::string> before = contents(dir);
    const struct {
        const char* name;
        Operation operation;
        const char* from;
        const char* to;
    } cases[] = {
        {"rename onto an existing bookmark", rename, "A.url", "B.url"},
        {"rename onto an existing folder", rename, "A.url", "Work"},
        {"rename into a sub-folder", rename, "A.url", "Work/A.url"},
        {"rename out of the folder", rename, "A.url", "../A.url"},
        {"rename to .", rename, "A.url", "."},
        {"rename to ..", rename, "A.url", ".."},
        {"rename a missing source", rename, "Favorites", "Other"},
        {"move a folder into itself", move, "Dir", "Dir/"},
        {"move a folder below itself", move, "Dir", "Dir/Sub/"},
        {"move a file onto a folder of its name", move, "Plain", "Archive/"},
        {"move onto a file", move, "A.url", "B.url"},
        {"move into a missing folder", move, "A.url", "none/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompt prompt;
        EXPECT_EQ(c.operation(prompt, dir.path() + c.from, dir.path() + c.to), OperationResult::Failed);
        EXPECT_EQ(prompt.failures.size(), 1u);
        EXPECT_TRUE(prompt.replaceQuestions.empty());
        EXPECT_EQ(contents(dir), before);
    }
}
