// Keeps one running copy of the program per user and per executable: a lock file in the user's
// runtime folder, named after the executable's path. The lock goes with the process, so a copy
// that crashed leaves no lock behind that blocks the next start.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace app {

// The lock file for an executable: the user's runtime folder, "augurlex-<hash of path>.lock".
QString singleInstanceLockPath(const QString& executablePath);

class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath);
    // Takes the lock; true only when another running copy holds it. When the lock cannot be
    // made at all (an unwritable folder) this copy runs unguarded rather than not at all.
    bool anotherCopyRuns();
    bool held() const { return held_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};

} // namespace app
