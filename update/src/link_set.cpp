#include "link_set.h"

#include <functional>

namespace update {

namespace {

// A slot holds the link's index + 1 (0: empty) and 32 bits of its hash, which place it and
// spare most string comparisons; growing the table never hashes a link again.
std::uint32_t indexPlusOne(std::uint64_t slot) {
    return static_cast<std::uint32_t>(slot);
}
std::uint32_t hashOf(std::uint64_t slot) {
    return static_cast<std::uint32_t>(slot >> 32);
}
std::uint32_t hashOf(std::string_view link) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(link));
}

} // namespace

std::string_view LinkSet::at(std::uint32_t index) const {
    const std::uint64_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(chars_).substr(begin, ends_[index] - begin);
}

std::size_t LinkSet::slotOf(std::string_view link, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    for (;; slot = (slot + 1) & mask) {
        const std::uint64_t entry = slots_[slot];
        if (indexPlusOne(entry) == 0 ||
            (hashOf(entry) == hash && at(indexPlusOne(entry) - 1) == link))
            return slot;
    }
}

bool LinkSet::contains(std::string_view link) const {
    return !slots_.empty() && indexPlusOne(slots_[slotOf(link, hashOf(link))]) != 0;
}

void LinkSet::insert(std::string_view link) {
    // At most half full, so probes stay short.
    if (2 * (ends_.size() + 1) > slots_.size())
        grow();
    const std::uint32_t hash = hashOf(link);
    const std::size_t slot = slotOf(link, hash);
    if (indexPlusOne(slots_[slot]) != 0)
        return;
    chars_.append(link);
    ends_.push_back(chars_.size());
    slots_[slot] = (std::uint64_t{hash} << 32) | static_cast<std::uint32_t>(ends_.size());
}

void LinkSet::grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint64_t entry : old) {
        if (indexPlusOne(entry) == 0)
            continue;
        std::size_t slot = hashOf(entry) & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = entry;
    }
}

} // namespace update
