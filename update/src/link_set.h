// The links of a dictionary, for telling a new record from a duplicate: every link's text in one
// buffer and an open-addressing table of positions, so a million links cost two allocations
// rather than a million nodes, and nothing to free one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace update {

class LinkSet {
public:
    bool contains(std::string_view link) const;
    // Adds the link unless it is there already.
    void insert(std::string_view link);

private:
    std::string_view at(std::uint32_t index) const;
    // The slot holding the link, or the empty slot where it would go.
    std::size_t slotOf(std::string_view link, std::uint32_t hash) const;
    void grow();

    std::string chars_;
    std::vector<std::uint64_t> ends_;  // where each link ends in chars_
    std::vector<std::uint64_t> slots_; // see link_set.cpp
};

} // namespace update
