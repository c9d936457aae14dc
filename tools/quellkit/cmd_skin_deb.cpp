// quellkit skin deb: a Debian package of the program packed with a skin, with
// a launcher, a desktop entry, an icon, its documentation and the packages it
// needs at run time, built with the system's own package tools.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

#include "commands.h"
#include "core/image/bitmap_file.h"
#include "core/os/file_system.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_check.h"
#include "core/skin/skin_model.h"
#include "deb_texts.h"
#include "gzip_writer.h"
#include "png_writer.h"
#include "run_tool.h"
#include "skin_packer.h"

namespace quellkit {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "skin deb SKINDIR PROGRAM OUT.deb [--version V] [--maintainer \"NAME <ADDRESS>\"] [--photo FILE] [--json]";
constexpr const char* kDefaultVersion = "1.0";
constexpr const char* kDefaultMaintainer = "Quellcore skin author <skins@quellcore.invalid>";
// The side of the icon made from the frame bitmap.
constexpr int kIconSide = 64;
// A package larger than this is unusually large for one program and its skin.
constexpr long long kLargePackageBytes = 10LL * 1000 * 1000;
// What the program needs at run time that its linked libraries do not say:
// the soundfont its music plays through, the browser engine's helper process
// and a font for its texts. The Japanese messages want a CJK font, which is
// large and so only recommended.
constexpr const char* kRuntimeDepends[] = {"fluid-soundfont-gm", "libqt6webenginecore6-bin", "fonts-dejavu-core"};
constexpr const char* kRuntimeRecommends = "fonts-noto-cjk, qt6-wayland";

struct Options {
    std::string skinDir, program, out, photo;
    std::string version = kDefaultVersion;
    std::string maintainer;
    bool json = false;
};

struct Outcome {
    bool ok = false;
    std::string path;
    long long size = 0;
    std::vector<std::string> warnings;
    std::string error;
};

// Removes the staging folder however the command ends.
class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/quellkit-deb-XXXXXX";
        if (::mkdtemp(pattern)) m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!m_path.empty()) fs::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

bool writeText(const std::string& path, const std::string& text, mode_t mode) {
    const bool ok = quell::os::writeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    return ok && ::chmod(path.c_str(), mode) == 0;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return !bytes.empty() && quell::os::writeFile(path, bytes) && ::chmod(path.c_str(), 0644) == 0;
}

std::string defaultMaintainer() {
    const std::string name = quell::os::environment("DEBFULLNAME");
    const std::string address = quell::os::environment("DEBEMAIL");
    if (!name.empty() && !address.empty()) return name + " <" + address + ">";
    return kDefaultMaintainer;
}

// The changelog's date: SOURCE_DATE_EPOCH when set, so that a build can be
// repeated byte for byte, else now.
std::time_t buildTime() {
    const std::string fixed = quell::os::environment("SOURCE_DATE_EPOCH");
    if (!fixed.empty()) return static_cast<std::time_t>(std::strtoll(fixed.c_str(), nullptr, 10));
    return std::time(nullptr);
}

// The icon from the frame bitmap: scaled to fit a square, centred on a
// transparent background.
std::vector<uint8_t> frameIcon(const quell::image::PixelImage& frame) {
    const int longer = std::max(frame.width, frame.height);
    const int width = std::max(1, frame.width * kIconSide / longer);
    const int height = std::max(1, frame.height * kIconSide / longer);
    const quell::image::PixelImage scaled = ScaleNearest(frame, width, height);
    quell::image::PixelImage icon;
    icon.width = icon.height = kIconSide;
    icon.pixels.assign(static_cast<size_t>(kIconSide) * kIconSide, 0);
    const int left = (kIconSide - width) / 2, top = (kIconSide - height) / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            icon.pixels[static_cast<size_t>(top + y) * kIconSide + left + x] = scaled.at(x, y) | 0xFF000000u;
    return EncodePng(icon);
}

struct Icon {
    std::vector<uint8_t> png;
    int side = 0;
};

// icon.png of the skin folder when it is a square PNG, else the frame bitmap.
std::optional<Icon> skinIcon(const std::string& skinDir, const std::string& descriptionPath, Outcome& outcome) {
    const std::string given = quell::os::resolveCaseInsensitive(skinDir + "/", "icon.png");
    if (quell::os::isRegularFile(given)) {
        auto bytes = quell::os::readFile(given, quell::os::kMaxTextFileBytes);
        const auto size = bytes ? ReadPngSize(*bytes) : std::nullopt;
        if (size && size->width == size->height && size->width > 0) return Icon{std::move(*bytes), size->width};
        outcome.warnings.push_back(given + " is not a square PNG picture; the icon is made from the frame bitmap");
    }
    const quell::skin::SkinLocation location{skinDir + "/"};
    const quell::skin::SkinModel model =
        quell::skin::ReadSkinModel(quell::skin::ProfileFile::Load(descriptionPath), location);
    quell::image::PixelImage frame;
    if (!model.hasFrame() || !quell::image::LoadBitmapFile(location.path(model.frameFile), frame)) return std::nullopt;
    return Icon{frameIcon(frame), kIconSide};
}

// ceil(size / 1024) for every file and 1 for every folder, as dpkg counts.
unsigned long installedSizeKiB(const std::string& root) {
    unsigned long total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->path().filename() == "DEBIAN" && it->is_directory()) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file()) total += static_cast<unsigned long>((it->file_size() + 1023) / 1024);
        else total += 1;
    }
    return total;
}

// The Depends line dpkg-shlibdeps computes for the program, without the
// field name; empty when it cannot.
std::string sharedLibraryDepends(const std::string& work, const std::string& binary, Outcome& outcome) {
    // The tool reads the source package's control file from debian/ below
    // the folder it runs in; it needs only its two stanzas.
    if (!writeText(work + "/debian/control", "Source: quellkit-skin\n\nPackage: skin\nArchitecture: any\n", 0644))
        return {};
    const ToolRun run = runTool({"dpkg-shlibdeps", "-O", "-e" + binary}, work, work);
    if (!run.succeeded()) {
        outcome.error = run.started ? "dpkg-shlibdeps failed: " + run.err : "dpkg-shlibdeps is not installed";
        return {};
    }
    const std::string marker = "shlibs:Depends=";
    const size_t at = run.out.find(marker);
    if (at == std::string::npos) return {};
    std::string depends = run.out.substr(at + marker.size());
    return depends.substr(0, depends.find('\n'));
}

// True when one of the comma-separated relations of depends is on package.
bool namesPackage(const std::string& depends, const std::string& package) {
    size_t start = 0;
    while (start < depends.size()) {
        size_t end = depends.find(',', start);
        if (end == std::string::npos) end = depends.size();
        const size_t nameStart = depends.find_first_not_of(' ', start);
        if (nameStart < end) {
            const size_t nameEnd = std::min(end, depends.find_first_of(" (", nameStart));
            if (depends.compare(nameStart, nameEnd - nameStart, package) == 0) return true;
        }
        start = end + 1;
    }
    return false;
}

// DEBIAN/md5sums: the checksum of every file of the tree, by its path below
// the root, which is how dpkg --verify checks an installed package.
bool writeMd5sums(const std::string& root, const std::string& work) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->path().filename() == "DEBIAN" && it->is_directory()) it.disable_recursion_pending();
        else if (it->is_regular_file()) files.push_back(fs::relative(it->path(), root).string());
    }
    if (ec || files.empty()) return false;
    std::sort(files.begin(), files.end());
    std::vector<std::string> argv{"md5sum", "--"};
    argv.insert(argv.end(), files.begin(), files.end());
    const ToolRun run = runTool(argv, root, work);
    return run.succeeded() && writeText(root + "/DEBIAN/md5sums", run.out, 0644);
}

bool makeFolders(const std::string& root, std::initializer_list<std::string> folders) {
    for (const std::string& folder : folders) {
        if (!quell::os::createDirectories(root + folder)) return false;
    }
    // Every folder of the tree, whatever the umask, as the package wants it.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory()) ::chmod(it->path().c_str(), 0755);
    }
    ::chmod(root.c_str(), 0755);
    return !ec;
}

// Strips the program as Debian ships binaries (the symbols stay in the
// build tree) before the skin is appended; strip would drop the appended
// bytes otherwise. The unstripped program is used when strip cannot run.
std::string strippedProgram(const std::string& program, const std::string& work, Outcome& outcome) {
    const std::string stripped = work + "/program.stripped";
    const ToolRun run = runTool(
        {"strip", "--strip-unneeded", "--remove-section=.comment", "--remove-section=.note", "-o", stripped, program},
        {}, work);
    if (run.succeeded()) return stripped;
    outcome.warnings.push_back("the program could not be stripped (" + (run.started ? run.err : "no strip") +
                               "); it goes into the package as it is");
    return program;
}

void buildPackage(const Options& o, Outcome& outcome) {
    const quell::skin::SkinCheckReport check = quell::skin::CheckSkinFolder(o.skinDir);
    if (check.errorCount() > 0) {
        outcome.error = "the skin has " + std::to_string(check.errorCount()) + " error(s); quellkit skin check " +
                        o.skinDir + " lists them";
        return;
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        outcome.error = "cannot make a temporary folder";
        return;
    }
    const std::string work = scratch.path();

    DebIdentity id;
    id.version = o.version;
    id.maintainer = o.maintainer.empty() ? defaultMaintainer() : o.maintainer;
    const ToolRun arch = runTool({"dpkg", "--print-architecture"}, {}, work);
    if (!arch.succeeded()) {
        outcome.error = "dpkg --print-architecture failed; is dpkg installed?";
        return;
    }
    id.architecture = arch.out.substr(0, arch.out.find('\n'));

    // The skin's name comes from packing it, so the program is packed first
    // into the scratch folder and moved into the tree once its name is known.
    if (!quell::os::createDirectories(work + "/packed")) {
        outcome.error = "cannot write below " + work;
        return;
    }
    const PackResult packed = packSkin(o.skinDir, strippedProgram(o.program, work, outcome), work + "/packed");
    outcome.warnings.insert(outcome.warnings.end(), packed.warnings.begin(), packed.warnings.end());
    if (!packed.ok) {
        outcome.error = packed.error;
        return;
    }
    id.name = packed.stem;
    const std::optional<std::string> package = DebPackageName(packed.stem);
    if (!package) {
        outcome.error = "the skin's name \"" + packed.stem + "\" gives no valid package name (a-z, 0-9, + - .)";
        return;
    }
    id.package = *package;

    const std::string root = work + "/debian/" + id.package;
    const std::string lib = root + DebProgramFolder(id);
    const std::string doc = root + "/usr/share/doc/" + id.package;
    const std::string iconDir = "/usr/share/icons/hicolor/";
    std::optional<Icon> icon = skinIcon(o.skinDir, check.descriptionPath, outcome);
    const std::string iconFolder =
        icon ? iconDir + std::to_string(icon->side) + "x" + std::to_string(icon->side) + "/apps" : iconDir;
    if (!makeFolders(root, {"/DEBIAN", DebProgramFolder(id), "/usr/bin", "/usr/share/applications", iconFolder,
                            "/usr/share/doc/" + id.package, "/usr/share/man/man1"})) {
        outcome.error = "cannot make the package tree below " + work;
        return;
    }
    const std::string binary = lib + id.name;
    std::error_code ec;
    fs::rename(packed.path, binary, ec);
    if (ec || ::chmod(binary.c_str(), 0755) != 0) {
        outcome.error = "cannot move the packed program into the package tree";
        return;
    }

    std::string photo = o.photo;
    if (photo.empty()) {
        const std::string beside = fs::path(o.program).parent_path().string();
        photo = (beside.empty() ? std::string(".") : beside) + "/Photo.bmp";
        if (!quell::os::isRegularFile(photo)) photo.clear();
    }
    if (!photo.empty()) {
        auto bytes = quell::os::readFile(photo, quell::os::kMaxTextFileBytes);
        if (!bytes || !writeBytes(lib + "Photo.bmp", *bytes)) {
            outcome.error = "cannot copy " + photo + " into the package";
            return;
        }
    } else {
        outcome.warnings.push_back(
            "no Photo.bmp beside the program and no --photo: each user puts one into "
            "~/.local/share/quellcore/" +
            id.name + "/");
    }
    if (icon) {
        if (!writeBytes(root + iconFolder + "/" + id.package + ".png", icon->png)) {
            outcome.error = "cannot write the icon";
            return;
        }
    } else {
        outcome.warnings.push_back("the frame bitmap cannot be read; the package has no icon");
    }

    std::tm date{};
    const std::time_t when = buildTime();
    gmtime_r(&when, &date);
    char changelogDate[64];
    // Day and month names in English, as the changelog format wants them,
    // whatever the locale.
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::snprintf(changelogDate, sizeof changelogDate, "%s, %02d %s %04d %02d:%02d:%02d +0000", kDays[date.tm_wday],
                  date.tm_mday, kMonths[date.tm_mon], date.tm_year + 1900, date.tm_hour, date.tm_min, date.tm_sec);

    const bool written =
        writeText(root + "/usr/bin/" + id.package, DebLauncherText(id), 0755) &&
        writeText(root + "/usr/share/applications/" + id.package + ".desktop", DebDesktopEntryText(id), 0644) &&
        writeText(doc + "/copyright", DebCopyrightText(id, date.tm_year + 1900), 0644) &&
        writeBytes(doc + "/changelog.gz", GzipText(DebChangelogText(id, changelogDate))) &&
        writeBytes(root + "/usr/share/man/man1/" + id.package + ".1.gz", GzipText(DebManPageText(id)));
    if (!written) {
        outcome.error = "cannot write the package's files below " + work;
        return;
    }

    const std::string depends =
        sharedLibraryDepends(work, "debian/" + id.package + DebProgramFolder(id) + id.name, outcome);
    if (!outcome.error.empty()) return;
    std::string allDepends = depends;
    for (const char* needed : kRuntimeDepends) {
        if (!namesPackage(allDepends, needed)) allDepends += (allDepends.empty() ? "" : ", ") + std::string(needed);
    }
    if (!writeMd5sums(root, work)) {
        outcome.error = "cannot list the package's checksums (md5sum)";
        return;
    }
    if (!writeText(root + "/DEBIAN/control", DebControlText(id, allDepends, kRuntimeRecommends, installedSizeKiB(root)),
                   0644)) {
        outcome.error = "cannot write the control file";
        return;
    }

    const ToolRun build = runTool({"dpkg-deb", "--root-owner-group", "--build", root, o.out}, {}, work);
    if (!build.succeeded()) {
        outcome.error = build.started ? "dpkg-deb failed: " + build.err : "dpkg-deb is not installed";
        return;
    }
    struct stat st {};
    if (::stat(o.out.c_str(), &st) != 0) {
        outcome.error = "dpkg-deb wrote no " + o.out;
        return;
    }
    outcome.ok = true;
    outcome.path = fs::absolute(o.out, ec).string();
    outcome.size = static_cast<long long>(st.st_size);
    if (outcome.size >= kLargePackageBytes)
        outcome.warnings.push_back("the package is " + std::to_string(outcome.size) + " bytes, 10 MB or more");
}

void printJson(const Outcome& outcome) {
    std::string text = std::string("{\"ok\":") + (outcome.ok ? "true" : "false");
    text += ",\"path\":" + (outcome.ok ? JsonString(outcome.path) : std::string("null"));
    text += ",\"size\":" + std::to_string(outcome.size) + ",\"warnings\":[";
    for (size_t i = 0; i < outcome.warnings.size(); ++i) text += (i ? "," : "") + JsonString(outcome.warnings[i]);
    text += "],\"error\":" + (outcome.ok ? std::string("null") : JsonString(outcome.error)) + "}";
    std::printf("%s\n", text.c_str());
}

// Fills o from the arguments; the reason when they do not fit the usage.
std::optional<std::string> parseOptions(const Args& args, Options& o) {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
        } else if (a == "--version" || a == "--maintainer" || a == "--photo") {
            if (i + 1 >= args.size()) return a + " needs a value";
            std::string& target = a == "--version" ? o.version : a == "--maintainer" ? o.maintainer : o.photo;
            target = args[++i];
        } else if (a.starts_with("--")) {
            return "unknown option " + a;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 3) return "SKINDIR, PROGRAM and OUT.deb are needed";
    o.skinDir = positional[0];
    o.program = positional[1];
    o.out = positional[2];
    if (!IsDebVersion(o.version)) return "--version " + o.version + " is not a package version (such as 1.0)";
    if (!o.maintainer.empty() && !IsDebMaintainer(o.maintainer))
        return "--maintainer must read \"Full Name <address@domain>\"";
    return std::nullopt;
}

}  // namespace

int runSkinDeb(const Args& args) {
    Options o;
    Outcome outcome;
    if (const std::optional<std::string> problem = parseOptions(args, o)) {
        if (o.json) {
            outcome.error = *problem;
            printJson(outcome);
        }
        std::fprintf(stderr, "error: %s\n", problem->c_str());
        return usage(kUsage);
    }
    buildPackage(o, outcome);
    if (o.json) {
        printJson(outcome);
        return outcome.ok ? 0 : 1;
    }
    for (const std::string& warning : outcome.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    if (!outcome.ok) return fail(outcome.error);
    std::printf("%s\n", outcome.path.c_str());
    return 0;
}

}  // namespace quellkit
