// Compiled into every Qt test (cmake/AugurlexQtTest.cmake): the platform is set before main
// makes the QApplication, so a test never opens a window on whatever display the shell has.
#include "qt_platform.h"

namespace {
const bool kOffscreen = (testing_support::useQtPlatform("offscreen"), true);
} // namespace
