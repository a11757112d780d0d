#include "store/file_replacement.h"

#include "jet/atomic_file.h"

#include <cstdint>
#include <span>

namespace store {

void replaceFileContents(const std::string& path, std::string_view contents) {
    // jet::Error is a std::runtime_error that already names the file.
    jet::replaceFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()));
}

} // namespace store
