// quellkit skin pack: a copy of the program with a skin folder's cabinet and
// the 4-byte length trailer appended, named after the skin's description file.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "cab_mszip_encoder.h"
#include "cab_writer.h"
#include "commands.h"
#include "core/cabinet/cabinet_types.h"
#include "core/os/file_system.h"

namespace quellkit {
namespace {

namespace fs = std::filesystem;

std::string stemOf(const std::string& fileName) { return fileName.substr(0, fileName.find('.')); }

}  // namespace

int runSkinPack(const Args& given) {
    Args args = given;
    if (!args.empty() && args[0] == "pack") args.erase(args.begin());
    if (args.size() != 3) return usage("skin pack SKINDIR PROGRAM OUT");
    const fs::path skinDir(args[0]);
    const std::string program = args[1];
    std::string out = args[2];

    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(skinDir, ec)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
        else std::fprintf(stderr, "warning: %s is not a plain file and is left out\n", entry.path().c_str());
    }
    if (ec) return fail("cannot read the skin folder " + args[0]);
    std::sort(files.begin(), files.end());

    std::vector<std::string> descriptions;
    for (const fs::path& p : files) {
        std::string ext = p.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
        if (ext == ".ini") descriptions.push_back(p.filename().string());
    }
    if (descriptions.size() != 1)
        return fail("the skin folder must hold exactly one description file (.ini), it holds " +
                    std::to_string(descriptions.size()));
    const std::string stem = stemOf(descriptions.front());

    cab::WriterFolder folder;
    folder.encoder = std::make_shared<cab::MszipEncoder>();
    for (const fs::path& p : files) {
        auto bytes = quell::os::readFile(p.string());
        if (!bytes) return fail("cannot read " + p.string());
        cab::WriterFile f;
        f.name = p.filename().string();
        if (const std::string problem = cab::NameProblem(f.name); !problem.empty())
            return fail(problem + ": " + f.name);
        f.data = std::move(*bytes);
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0) cab::DosDateTimeFromEpoch(st.st_mtime, &f.date, &f.time);
        f.attributes = static_cast<uint16_t>(quell::cabinet::kAttributeArchive | cab::NameAttributes(f.name));
        folder.files.push_back(std::move(f));
    }
    const std::vector<uint8_t> cabinet = cab::WriteCabinet({folder});

    auto image = quell::os::readFile(program);
    if (!image) return fail("cannot read " + program);

    if (quell::os::isDirectory(out)) {
        if (out.back() != '/') out += '/';
        out += stem;
    } else {
        const std::string name = fs::path(out).filename().string();
        if (stemOf(name) != stem)
            std::fprintf(stderr,
                         "warning: %s has the stem \"%s\" but the skin's description file is %s; the program "
                         "will only find its skin when named %s\n",
                         out.c_str(), stemOf(name).c_str(), descriptions.front().c_str(), stem.c_str());
    }

    const uint32_t n = static_cast<uint32_t>(cabinet.size());
    const uint8_t trailer[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                                static_cast<uint8_t>(n >> 24)};
    {
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
        file.write(reinterpret_cast<const char*>(cabinet.data()), static_cast<std::streamsize>(cabinet.size()));
        file.write(reinterpret_cast<const char*>(trailer), 4);
        if (!file.good()) return fail("cannot write " + out);
    }
    struct stat st {};
    mode_t mode = 0755;
    if (::stat(program.c_str(), &st) == 0) mode = (st.st_mode & 07777) | S_IRUSR | S_IWUSR;
    ::chmod(out.c_str(), mode);
    std::printf("%s\n", out.c_str());
    return 0;
}

}  // namespace quellkit
