#include "commands.h"
namespace quellkit {
int runIni(const Args&) { return fail("this subcommand is not built yet"); }
}  // namespace quellkit
