#pragma once
// The text files of a Debian package of a packed skin program: its control
// file, launcher, desktop entry, copyright, changelog and manual page. Pure
// text; skin deb writes them into the package tree.
#include <optional>
#include <string>

namespace quellkit {

struct DebIdentity {
    std::string name;          // the program's file name, the skin's stem ("Quell1")
    std::string package;       // the package and command name ("quell1")
    std::string version;       // "1.0"
    std::string maintainer;    // "Full Name <address>"
    std::string architecture;  // as dpkg prints it ("amd64")
};

// Where the program and its Photo.bmp go: /usr/lib/<name>/.
std::string DebProgramFolder(const DebIdentity& id);

// The stem in lower case, when that is a valid package name: at least two
// characters of a-z, 0-9, '+', '-' and '.', starting with a letter or digit.
std::optional<std::string> DebPackageName(const std::string& stem);

// True for a version dpkg accepts: it starts with a digit and holds only
// letters, digits and ". + ~ -" (no epoch).
bool IsDebVersion(const std::string& version);

// True for "Name <local@domain>".
bool IsDebMaintainer(const std::string& maintainer);

std::string DebControlText(const DebIdentity& id, const std::string& depends, const std::string& recommends,
                           unsigned long installedSizeKiB);
// A shell script that runs the program from its folder, so that the program
// finds its own name and files.
std::string DebLauncherText(const DebIdentity& id);
std::string DebDesktopEntryText(const DebIdentity& id);
std::string DebCopyrightText(const DebIdentity& id, int year);
// date is in the form of RFC 5322 ("Mon, 01 Jan 2024 00:00:00 +0000").
std::string DebChangelogText(const DebIdentity& id, const std::string& date);
std::string DebManPageText(const DebIdentity& id);

// text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace quellkit
