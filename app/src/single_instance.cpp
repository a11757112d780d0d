#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

QString singleInstanceLockPath(const QString& executablePath) {
    QFileInfo info(executablePath);
    const QString canonical =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + "/augurlex-" + QString::fromLatin1(hash) + ".lock";
}

SingleInstance::SingleInstance(const QString& lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath)) {
    // A lock is stale only when its process is gone, never because of its age: a copy may run
    // for days.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::anotherCopyRuns() {
    if (held_)
        return false;
    held_ = lock_->tryLock(0);
    return !held_ && lock_->error() == QLockFile::LockFailedError;
}

} // namespace app
