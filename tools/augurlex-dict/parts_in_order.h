// Turning numbered parts of work into text on several threads while the text goes out in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace dict {

struct PartText {
    std::string text;
    std::uint64_t rows = 0;
    // For make(): hands the text and rows so far to take() as soon as every part before this one
    // has been taken (waiting till then), and empties them. A part whose rows turn out large
    // (long values) goes out in pieces instead of being held whole.
    std::function<void()> passOn;
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
