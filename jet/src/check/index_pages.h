// The pages of an index's tree, as far as its pages can be followed: the check must know which
// pages an index uses, so that losing one of them is found.
#pragma once

#include "file/format.h"
#include "file/page_source.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace jet::detail {

// Every page reached from `root`: a node's entries each end in the child page (four bytes, most
// significant first), and a node names the last page of the level below. A reached page that is
// not an index page of the table at `tablePage` is reported through `fault` (naming `index`) and
// not followed further.
std::vector<std::uint32_t> indexTreePages(const PageStore& pages, const JetFormat& format,
                                          std::uint32_t root, std::uint32_t tablePage,
                                          const std::string& index,
                                          const std::function<void(std::string)>& fault);

} // namespace jet::detail
