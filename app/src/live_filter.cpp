#include "live_filter.h"

#include <memory>

namespace app {

LiveFilter::LiveFilter(Show show, QObject* parent) : QObject(parent), show_(std::move(show)) {
    worker_.setMaxThreadCount(1);
}

LiveFilter::~LiveFilter() {
    worker_.waitForDone();
}

void LiveFilter::request(LiveRequest request) {
    waiting_.emplace(++generation_, std::move(request));
    if (!running_)
        startWaiting();
}

void LiveFilter::startWaiting() {
    if (!waiting_)
        return;
    auto [generation, request] = std::move(*waiting_);
    waiting_.reset();
    running_ = true;
    worker_.start([this, generation = generation, request = std::move(request)] {
        auto result = std::make_shared<LiveResult>();
        result->live = search_.next(request.programFolder, request.dictionaryNames, request.mode,
                                    request.searchText, request.choice);
        result->order = request.order;
        result->shown = shownOrder(result->live.keywords, request.order);
        // Queued to this object: dropped with it should it go first (the destructor waits for
        // this task, so `this` is still whole here).
        QMetaObject::invokeMethod(
            this,
            [this, generation, result] {
                running_ = false;
                if (generation == generation_)
                    show_(std::move(*result));
                startWaiting();
            },
            Qt::QueuedConnection);
    });
}

} // namespace app
