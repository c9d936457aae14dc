// quellkit skin new NAME DIR: writes a small working skin into DIR, which
// must not exist yet or be empty, so that nothing of an author's is overwritten.
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "core/os/file_system.h"
#include "skin_template.h"

namespace quellkit {

int runSkinNew(const Args& args) {
    if (args.size() != 2) return usage("skin new NAME DIR");
    const std::string& name = args[0];
    const std::string& folder = args[1];
    if (!IsUsableSkinName(name))
        return fail("the skin name " + name +
                    " must be ASCII letters, digits, '-' and '_', start with a letter and have at most 64 characters");
    std::error_code ec;
    if (std::filesystem::exists(folder, ec) && !std::filesystem::is_empty(folder, ec))
        return fail(folder + " exists and is not empty");
    if (!quell::os::createDirectories(folder)) return fail("cannot create " + folder);
    for (const SkinFile& file : MakeNewSkin(name)) {
        const std::string path = folder + "/" + file.name;
        if (!quell::os::writeFile(path, file.bytes)) return fail("cannot write " + path);
    }
    std::printf("%s/%s.ini: a new skin; preview it with quellcore --skin %s\n", folder.c_str(), name.c_str(),
                folder.c_str());
    return 0;
}

}  // namespace quellkit
