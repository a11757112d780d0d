// Checking the shape of an index's tree: each node entry is the last entry of the page it
// names, every leaf lies at the same depth, and the leaves' links run through them in tree order.
#pragma once

#include "file/format.h"
#include "file/page_source.h"

#include <cstdint>
#include <functional>
#include <string>

namespace jet::detail {

// Reports each fault through `fault`, prefixed by `name`. Pages that cannot be read are reported
// by the leaf walk, not here.
void checkIndexTree(const PageStore& pages, const JetFormat& format, std::uint32_t root,
                    std::uint32_t tablePage, const std::string& name,
                    const std::function<void(std::string)>& fault);

} // namespace jet::detail
