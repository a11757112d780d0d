// The Qt platform a window test runs on, chosen by the test itself whatever the environment
// says: "offscreen" for the tests without a display, "xcb" for those on a virtual X screen
// under xvfb-run. Also Qt WebEngine's settings for a test machine (software drawing; as root,
// no sandbox), never the shipped program's. Call before the QApplication is made.
#pragma once

#include <cstdlib>
#include <unistd.h>

namespace testing_support {

inline void useQtPlatform(const char* platform) {
    ::setenv("QT_QPA_PLATFORM", platform, 1);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 1);
    if (::geteuid() == 0)
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
}

} // namespace testing_support
