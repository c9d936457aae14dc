// quellkit cab: list, extract and make cabinet files.
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cab_mszip_encoder.h"
#include "cab_writer.h"
#include "commands.h"
#include "core/cabinet/cabinet_reader.h"
#include "core/cabinet/extract_cabinet.h"
#include "core/cabinet/posix_cabinet_io.h"
#include "core/cabinet/stored_name.h"
#include "core/os/file_system.h"

namespace quellkit {
namespace {

using namespace quell::cabinet;

// Prints every entry, its name in UTF-8 as extraction decodes it, and asks
// the reader to pass over it, so the walk reads the file table and nothing
// else.
intptr_t printEntry(NotificationKind kind, CabinetNotification& n) {
    if (kind != FileBegin && kind != ContinuedFile) return 0;
    const unsigned day = n.date & 0x1F, month = (n.date >> 5) & 0x0F, year = 1980 + (n.date >> 9);
    const unsigned second = (n.time & 0x1F) * 2, minute = (n.time >> 5) & 0x3F, hour = n.time >> 11;
    const std::optional<std::string> name = DecodeStoredName(n.text1, n.attributes);
    std::printf("%d %04u-%02u-%02u %02u:%02u:%02u %02x %s\n", n.count, year, month, day, hour, minute, second,
                n.attributes & 0xFF, name ? name->c_str() : n.text1);
    return 0;
}

int cabinetFailure(const CabinetError& error) {
    return fail(std::string(CabinetErrorName(error.code)) + " (" + std::to_string(error.code) + ")");
}

int listCabinet(const std::string& file) {
    const CabinetIo& io = PosixCabinetIo();
    CabinetError error;
    ScopedCabinetContext context(io, 1, &error);
    if (!context) return cabinetFailure(error);
    const FileHandle h = io.open(file.c_str(), kOpenBinary | kOpenReadOnly, 0);
    if (h == -1) {
        error.code = CabinetNotFound;
        return cabinetFailure(error);
    }
    const bool isCabinet = IsCabinet(context.get(), h, nullptr);
    io.close(h);
    if (!isCabinet) {
        if (!error.failed) error.code = NotACabinet;
        return cabinetFailure(error);
    }
    const CabinetLocation location = SplitCabinetPath(file);
    const bool ok =
        Copy(context.get(), location.name.c_str(), location.folder.c_str(), 0, printEntry, nullptr, nullptr);
    return ok ? 0 : cabinetFailure(error);
}

int extractCabinet(const std::string& file, std::string destination) {
    if (destination.empty() || destination.back() != '/') destination += '/';
    CabinetError error;
    if (ExtractCabinet(file, destination, &error)) return 0;
    if (error.failed) return cabinetFailure(error);
    return fail("extraction failed");
}

int makeCabinet(const Args& args) {
    bool stored = false;
    size_t i = 1;
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        if (args[i] == "--stored") stored = true;
        else if (args[i] == "--mszip") stored = false;
        else return usage("cab make [--stored|--mszip] OUT FILE...");
    }
    if (args.size() < i + 2) return usage("cab make [--stored|--mszip] OUT FILE...");
    const std::string out = args[i];
    cab::WriterFolder folder;
    if (stored) folder.encoder = std::make_shared<cab::StoredEncoder>();
    else folder.encoder = std::make_shared<cab::MszipEncoder>();
    for (size_t k = i + 1; k < args.size(); ++k) {
        const std::string& path = args[k];
        auto bytes = quell::os::readFile(path);
        if (!bytes) return fail("cannot read " + path);
        cab::WriterFile f;
        const size_t slash = path.find_last_of('/');
        f.name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (const std::string problem = cab::NameProblem(f.name); !problem.empty())
            return fail(problem + ": " + f.name);
        f.data = std::move(*bytes);
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) {
            cab::DosDateTimeFromEpoch(static_cast<long long>(st.st_mtime), &f.date, &f.time);
            f.attributes = (st.st_mode & S_IWUSR) ? kAttributeArchive
                                                  : static_cast<uint16_t>(kAttributeArchive | kAttributeReadOnly);
        }
        f.attributes |= cab::NameAttributes(f.name);
        folder.files.push_back(std::move(f));
    }
    if (!quell::os::writeFile(out, cab::WriteCabinet({folder}))) return fail("cannot write " + out);
    return 0;
}

}  // namespace

int runCab(const Args& args) {
    if (args.empty()) return usage("cab list FILE | cab extract FILE DESTDIR | cab make [--stored] OUT FILE...");
    if (args[0] == "list" && args.size() == 2) return listCabinet(args[1]);
    if (args[0] == "extract" && args.size() == 3) return extractCabinet(args[1], args[2]);
    if (args[0] == "make") return makeCabinet(args);
    return usage("cab list FILE | cab extract FILE DESTDIR | cab make [--stored] OUT FILE...");
}

}  // namespace quellkit
