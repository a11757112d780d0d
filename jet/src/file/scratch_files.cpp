#include "file/scratch_files.h"

#include <cctype>

namespace jet::detail {

namespace {

constexpr std::string_view kMarker = ".augurlex-";
constexpr std::size_t kUniquePart = 6; // the XXXXXX mkstemp() fills in

} // namespace

std::string scratchTemplate(const std::filesystem::path& target) {
    std::filesystem::path folder = target.parent_path();
    const std::string name =
        "." + target.filename().string() + std::string(kMarker) + std::string(kUniquePart, 'X');
    return (folder.empty() ? std::filesystem::path(name) : folder / name).string();
}

bool isScratchName(std::string_view name) {
    if (name.size() < 2 + kMarker.size() + kUniquePart || name[0] != '.')
        return false;
    const std::size_t marker = name.size() - kUniquePart - kMarker.size();
    if (name.substr(marker, kMarker.size()) != kMarker)
        return false;
    for (char c : name.substr(name.size() - kUniquePart))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

void removeScratchFiles(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (isScratchName(it->path().filename().string()) &&
            it->symlink_status(ignored).type() == std::filesystem::file_type::regular)
            std::filesystem::remove(it->path(), ignored);
    }
}

} // namespace jet::detail
