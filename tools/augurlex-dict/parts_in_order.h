// Turning numbered parts of work into text on several threads while the text goes out in order.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace dict {

struct PartText {
    std::string text;
    std::uint64_t rows = 0;
};

// Calls make(i, part) for every i in [0, count) on up to `threads` threads and hands each result
// to take(i, part) on the calling thread, in the order of i. At most a few parts per thread wait
// to be taken, so memory stays bounded however many parts there are. When make(i) throws, the
// parts before it are taken, then take(i) receives what make(i) produced before the throw, and
// then the exception propagates; no later part is taken.
void makePartsInOrder(std::size_t count, std::size_t threads,
                      const std::function<void(std::size_t, PartText&)>& make,
                      const std::function<void(std::size_t, PartText&)>& take);

} // namespace dict
