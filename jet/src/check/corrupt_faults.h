// Reading on past damage: a look at a damaged file lists every fault it meets instead of
// stopping at the first.
#pragma once

#include "jet/error.h"

#include <string>
#include <vector>

namespace jet::detail {

// Runs `work`. A Corrupt error it raises is added to `faults`, its message after `where`; any
// other error (an unreadable file, say) passes on, since reading further would not help.
template <class Work>
void noteCorrupt(std::vector<std::string>& faults, const std::string& where, Work&& work) {
    try {
        work();
    } catch (const Error& e) {
        if (e.kind() != ErrorKind::Corrupt)
            throw;
        faults.push_back(where + e.what());
    }
}

} // namespace jet::detail
