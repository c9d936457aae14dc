#include "skin_packer.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "cab_mszip_encoder.h"
#include "cab_writer.h"
#include "core/cabinet/cabinet_types.h"
#include "core/os/file_system.h"

namespace quellkit {
namespace {

namespace fs = std::filesystem;

std::string stemOf(const std::string& fileName) { return fileName.substr(0, fileName.find('.')); }

PackResult failed(std::string reason) {
    PackResult result;
    result.error = std::move(reason);
    return result;
}

}  // namespace

PackResult packSkin(const std::string& skinDir, const std::string& program, std::string out) {
    PackResult result;
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(skinDir), ec)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
        else result.warnings.push_back(entry.path().string() + " is not a plain file and is left out");
    }
    if (ec) return failed("cannot read the skin folder " + skinDir);
    std::sort(files.begin(), files.end());

    std::vector<std::string> descriptions;
    for (const fs::path& p : files) {
        std::string ext = p.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
        if (ext == ".ini") descriptions.push_back(p.filename().string());
    }
    if (descriptions.size() != 1)
        return failed("the skin folder must hold exactly one description file (.ini), it holds " +
                      std::to_string(descriptions.size()));
    result.stem = stemOf(descriptions.front());

    cab::WriterFolder folder;
    folder.encoder = std::make_shared<cab::MszipEncoder>();
    for (const fs::path& p : files) {
        auto bytes = quell::os::readFile(p.string());
        if (!bytes) return failed("cannot read " + p.string());
        cab::WriterFile f;
        f.name = p.filename().string();
        if (const std::string problem = cab::NameProblem(f.name); !problem.empty())
            return failed(problem + ": " + f.name);
        f.data = std::move(*bytes);
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0) cab::DosDateTimeFromEpoch(st.st_mtime, &f.date, &f.time);
        f.attributes = static_cast<uint16_t>(quell::cabinet::kAttributeArchive | cab::NameAttributes(f.name));
        folder.files.push_back(std::move(f));
    }
    const std::vector<uint8_t> cabinet = cab::WriteCabinet({folder});

    auto image = quell::os::readFile(program);
    if (!image) return failed("cannot read " + program);

    if (quell::os::isDirectory(out)) {
        if (out.back() != '/') out += '/';
        out += result.stem;
    } else {
        const std::string name = fs::path(out).filename().string();
        if (stemOf(name) != result.stem)
            result.warnings.push_back(out + " has the stem \"" + stemOf(name) +
                                      "\" but the skin's description file is " + descriptions.front() +
                                      "; the program will only find its skin when named " + result.stem);
    }

    const uint32_t n = static_cast<uint32_t>(cabinet.size());
    const uint8_t trailer[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                                static_cast<uint8_t>(n >> 24)};
    {
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
        file.write(reinterpret_cast<const char*>(cabinet.data()), static_cast<std::streamsize>(cabinet.size()));
        file.write(reinterpret_cast<const char*>(trailer), 4);
        if (!file.good()) return failed("cannot write " + out);
    }
    struct stat st {};
    mode_t mode = 0755;
    if (::stat(program.c_str(), &st) == 0) mode = (st.st_mode & 07777) | S_IRUSR | S_IWUSR;
    ::chmod(out.c_str(), mode);
    result.ok = true;
    result.path = out;
    return result;
}

}  // namespace quellkit
