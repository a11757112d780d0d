#include "augurlex-dict/parts_in_order.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace dict {

namespace {

void makeOneByOne(std::size_t count, const std::function<void(std::size_t, PartText&)>& make,
                  const std::function<void(std::size_t, PartText&)>& take) {
    PartText part; // emptied, not freed: the next part reuses the memory
    for (std::size_t i = 0; i < count; ++i) {
        part.passOn = [&] {
            take(i, part);
            part.text.clear();
            part.rows = 0;
        };
        try {
            make(i, part);
        } catch (...) {
            take(i, part);
            throw;
        }
        take(i, part);
        part.text.clear();
        part.rows = 0;
    }
}

} // namespace

void makePartsInOrder(std::size_t count, std::size_t threads,
                      const std::function<void(std::size_t, PartText&)>& make,
                      const std::function<void(std::size_t, PartText&)>& take) {
    if (threads <= 1 || count <= 1) {
        makeOneByOne(count, make, take);
        return;
    }
    // Part i is made in slots[i % ahead] and waits there; it is begun only when the slot is free.
    const std::size_t ahead = 2 * threads;
    // Each on cache lines of its own: threads write their slots' text byte by byte.
    struct alignas(64) Slot {
        PartText part;
        std::exception_ptr error;
        bool done = false;
    };
    std::vector<Slot> slots(ahead);
    std::mutex lock;
    std::condition_variable changed;
    std::size_t next = 0;  // the next part to begin
    std::size_t taken = 0; // parts handed to take()
    bool stop = false;

    auto work = [&] {
        std::unique_lock<std::mutex> guard(lock);
        while (true) {
            changed.wait(guard, [&] { return stop || next >= count || next < taken + ahead; });
            if (stop || next >= count)
                return;
            const std::size_t i = next++;
            // The slot is this thread's alone until it is marked done.
            Slot& slot = slots[i % ahead];
            // Once the parts before this one are taken, the calling thread waits for this one
            // and touches nothing else: take() may then run here.
            slot.part.passOn = [&, i] {
                {
                    std::unique_lock<std::mutex> turn(lock);
                    changed.wait(turn, [&] { return stop || taken == i; });
                    if (stop)
                        return;
                }
                take(i, slot.part);
                slot.part.text.clear();
                slot.part.rows = 0;
            };
            guard.unlock();
            try {
                make(i, slot.part);
            } catch (...) {
                slot.error = std::current_exception();
            }
            guard.lock();
            slot.done = true;
            changed.notify_all();
        }
    };

    std::vector<std::thread> workers;
    auto finish = [&] {
        {
            std::lock_guard<std::mutex> guard(lock);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& worker : workers)
            worker.join();
    };
    try {
        // Fewer threads than asked if the system refuses more; none at all: the plain way.
        try {
            for (std::size_t t = 0; t < threads; ++t)
                workers.emplace_back(work);
        } catch (const std::system_error&) {
            if (workers.empty()) {
                makeOneByOne(count, make, take);
                return;
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            Slot& slot = slots[i % ahead];
            {
                std::unique_lock<std::mutex> guard(lock);
                changed.wait(guard, [&] { return slot.done; });
            }
            // Workers touch only other slots until this one is freed below.
            take(i, slot.part);
            const std::exception_ptr error = slot.error;
            {
                // Emptied, not freed: the next part in this slot reuses the memory.
                std::lock_guard<std::mutex> guard(lock);
                slot.part.text.clear();
                slot.part.rows = 0;
                slot.error = nullptr;
                slot.done = false;
                ++taken;
            }
            changed.notify_all();
            if (error)
                std::rethrow_exception(error);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

} // namespace dict
