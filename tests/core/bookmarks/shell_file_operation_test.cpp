#include "core/bookmarks/shell_file_operation.h"

#include <gtest/gtest.h>

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

TEST(ShellFileOperationRename, ExistingNameIsRefusedWithoutLoss) {
    TempFolder dir;
    dir.writeFile("A.url", kShortcutA);
    dir.writeFile("B.url", kShortcutB);
    dir.writeFile("Work/In.url", kShortcutA);
    ScriptedPrompt prompt;
    EXPECT_EQ(rename(prompt, dir.path() + "A.url", dir.path() + "B.url"), OperationResult::Failed);
    EXPECT_EQ(rename(prompt, dir.path() + "A.url", dir.path() + "Work"), OperationResult::Failed);
    EXPECT_EQ(prompt.failures.size(), 2u);
    EXPECT_TRUE(prompt.replaceQuestions.empty());
    EXPECT_EQ(dir.readFile("A.url"), kShortcutA);
    EXPECT_EQ(dir.readFile("B.url"), kShortcutB);
    EXPECT_EQ(dir.readFile("Work/In.url"), kShortcutA);
}

TEST(ShellFileOperationRename, RefusesNamesThatLeaveTheFolder) {
    TempFolder dir;
    dir.writeFile("A.url", kShortcutA);
    dir.makeFolder("Work");
    ScriptedPrompt prompt;
    const char* targets[] = {"Work/A.url", "../A.url", ".", ".."};
    for (const char* t : targets) {
        SCOPED_TRACE(t);
        EXPECT_EQ(rename(prompt, dir.path() + "A.url", dir.path() + t), OperationResult::Failed);
    }
    EXPECT_EQ(dir.readFile("A.url"), kShortcutA);
    EXPECT_FALSE(dir.exists("Work/A.url"));
}

TEST(ShellFileOperationRename, MissingSourceIsReported) {
    TempFolder dir;
    ScriptedPrompt prompt;
    EXPECT_EQ(rename(prompt, dir.path() + "Favorites", dir.path() + "Other"), OperationResult::Failed);
    EXPECT_EQ(prompt.failures.size(), 1u);
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

TEST(ShellFileOperationMove, IntoItselfOrBelowIsRefused) {
    TempFolder dir;
    dir.writeFile("A/B/In.url", kShortcutA);
    ScriptedPrompt prompt;
    EXPECT_EQ(move(prompt, dir.path() + "A", dir.path() + "A/"), OperationResult::Failed);
    EXPECT_EQ(move(prompt, dir.path() + "A", dir.path() + "A/B/"), OperationResult::Failed);
    EXPECT_EQ(prompt.failures.size(), 2u);
    EXPECT_EQ(dir.readFile("A/B/In.url"), kShortcutA);
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

TEST(ShellFileOperationMove, FileOntoFolderOfSameNameIsRefused) {
    TempFolder dir;
    dir.writeFile("Work", kShortcutA);
    dir.writeFile("Archive/Work/In.url", kShortcutB);
    ScriptedPrompt prompt;
    EXPECT_EQ(move(prompt, dir.path() + "Work", dir.path() + "Archive/"), OperationResult::Failed);
    EXPECT_EQ(dir.readFile("Work"), kShortcutA);
    EXPECT_EQ(dir.readFile("Archive/Work/In.url"), kShortcutB);
}

TEST(ShellFileOperationMove, DestinationMustBeAFolder) {
    TempFolder dir;
    dir.writeFile("A.url", kShortcutA);
    dir.writeFile("B.url", kShortcutB);
    ScriptedPrompt prompt;
    EXPECT_EQ(move(prompt, dir.path() + "A.url", dir.path() + "B.url"), OperationResult::Failed);
    EXPECT_EQ(move(prompt, dir.path() + "A.url", dir.path() + "none/"), OperationResult::Failed);
    EXPECT_EQ(dir.readFile("A.url"), kShortcutA);
    EXPECT_EQ(dir.readFile("B.url"), kShortcutB);
}
