#pragma once
// Reads the reference answers in the corpora's expected/ folder: per file,
// what ImageMagick decoded (as digests) and which upstream renderings exist.
#include <map>
#include <string>
#include <vector>

namespace quell::image::test {

struct FrameDigest {
    int width = 0, height = 0;
    std::string sha256;
};

struct ExpectedFile {
    // bmp.txt: ImageMagick's RGB stream ([rgb]); empty digest of no bytes when it refused the file.
    std::string rgbSha256;
    long rgbBytes = 0;
    int identifyExit = -1;  // bmp.txt and gif.txt: the exit status of identify
    // bmp.txt: upstream reference renderings ([ref]) with the digest of their RGB stream.
    std::vector<std::pair<std::string, std::string>> references;  // corpus-relative path, rgb sha256
    // gif.txt: each frame as ImageMagick stores it ([stored]), RGBA.
    std::vector<FrameDigest> frames;
    int storedExit = -1;
};

// Keyed by the corpus-relative path ("bmp/bmpsuite-2.8/g/pal8.bmp").
std::map<std::string, ExpectedFile> readExpectations(const std::string& expectedFile);

// Every file below folder whose name ends in suffix, corpus-relative, sorted.
std::vector<std::string> corpusFiles(const std::string& corpora, const std::string& folder, const std::string& suffix);

}  // namespace quell::image::test
