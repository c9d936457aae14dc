// quellkit reg FILE ROOT PATH: one registry value as the program reads it.
#include <cstdio>
#include <memory>

#include "commands.h"
#include "core/os/file_system.h"
#include "core/registry/registry_reader.h"
#include "core/skin/profile_file.h"

namespace quellkit {

int runReg(const Args& args) {
    if (args.size() != 3) return usage("reg FILE ROOT PATH");
    if (!quell::os::isRegularFile(args[0])) return fail("cannot read " + args[0]);
    auto file = std::make_shared<quell::registry::RegistryFile>(quell::registry::RegistryFile::Load(args[0]));
    quell::registry::RegistryReader reader(file, "");
    std::string text;
    bool ok = reader.ReadValue(quell::skin::ParseLeadingInt(args[1]), args[2], text);
    std::printf("%s\n", text.c_str());
    return ok ? 0 : 1;
}

}  // namespace quellkit
