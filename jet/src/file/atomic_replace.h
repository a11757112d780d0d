// The atomic replacement of jet/atomic_file.h, telling the engine's writer which file it put in
// place: the writer's next commit must find that file, and no other, at the path.
#pragma once

#include "file/file_identity.h"
#include "jet/atomic_file.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace jet::detail {

// As jet::replaceFileAtomically; `written` receives the new file's identity once it has taken
// the old one's place (even when flushing the folder then fails), and is left alone before.
// `beforeRename`, when given, runs right before the new contents take the old file's place,
// after everything else: what it throws aborts the replacement like a failed step, so a test
// of the old file there is as late as it can be.
void replaceFileAtomically(const std::filesystem::path& path,
                           const std::function<void(const ContentsWriter&)>& produce,
                           std::optional<FileIdentity>& written,
                           const std::function<void()>& beforeRename = {});

} // namespace jet::detail
