#include "commands.h"
namespace quellkit {
int runSkin(const Args&) { return fail("this subcommand is not built yet"); }
}  // namespace quellkit
