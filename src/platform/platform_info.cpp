// The platform library gathers the device services; this unit keeps the
// library non-empty before any service is added.
namespace quell::platform {
const char* libraryName() { return "quell_platform"; }
}
