// Runs a piece of a test in a child process that cannot override file permissions, so a
// read-only folder refuses writes even when the tests run as the superuser (as CI does).
#pragma once

#include <cstdlib>
#include <functional>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

// The child's result: what `body` returns (0…124), 125 when the powers could not be dropped,
// 126 when the child did not end normally.
inline int runWithoutPermissionOverride(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct powers[2]{};
        if (::syscall(SYS_capget, &header, powers) != 0)
            std::_Exit(125);
        for (unsigned power : {CAP_DAC_OVERRIDE, CAP_FOWNER}) {
            powers[power / 32].effective &= ~(1u << (power % 32));
            powers[power / 32].permitted &= ~(1u << (power % 32));
        }
        if (::syscall(SYS_capset, &header, powers) != 0)
            std::_Exit(125);
        std::_Exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return 126;
    return WEXITSTATUS(status);
}

} // namespace testing_support
