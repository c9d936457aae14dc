#include "core/browser/recorded_url_file.h"

#include <cstdint>
#include <string_view>

#include "core/browser/recorded_urls.h"
#include "core/os/file_system.h"

namespace quell::browser {

std::string RecordedUrlFilePath(const std::string& userDataHome) { return userDataHome + "/quellcore/typed-urls"; }

std::vector<std::string> LoadRecordedUrls(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(path, kRecordedUrlFileMaxBytes, bytes) != os::CappedRead::Read) return {};
    return ParseRecordedUrls(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool SaveRecordedUrl(const std::string& path, const std::string& url) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !os::createDirectories(path.substr(0, slash))) return false;
    const std::string text = FormatRecordedUrls(RecordUrl(LoadRecordedUrls(path), url));
    return os::replaceFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace quell::browser
