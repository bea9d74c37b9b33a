// Part of every test program: exports made in a test load the export module
// of this build, which lies beside the programs rather than beside the
// tests. Set before main, unless the environment already names a folder.

#include <cstdlib>

namespace {

[[maybe_unused]] const bool kModuleDirSet = ::setenv("TREVALIN_MODULE_DIR", TREVALIN_BUILD_DIR, 0) == 0;

} // namespace
