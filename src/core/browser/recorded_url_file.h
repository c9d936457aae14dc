#pragma once
// The per-user file of recorded addresses on disk. Reading never fails: a
// missing, unreadable or oversized file is an empty list.
#include <string>
#include <vector>

namespace quell::browser {

// <userDataHome>/quellcore/typed-urls
std::string RecordedUrlFilePath(const std::string& userDataHome);

std::vector<std::string> LoadRecordedUrls(const std::string& path);

// Adds url to the file's list as it is on disk now (another running copy of
// the program may have added to it), creating the folder when needed, and
// replaces the file in one step. False when it could not be written.
bool SaveRecordedUrl(const std::string& path, const std::string& url);

}  // namespace quell::browser
