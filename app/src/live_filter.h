// Runs the keyword list's live filter off the user-interface thread, so typing never waits for
// it: one filter at a time, and of the requests made meanwhile only the last runs. A result is
// shown only if no request or cancel came after its own.
#pragma once

#include "app/keyword_list_model.h"
#include "lookup/live_search.h"

#include <QObject>
#include <QThreadPool>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct LiveRequest {
    std::string programFolder;
    std::vector<std::string> dictionaryNames;
    lookup::SearchMode mode = lookup::SearchMode::Exact;
    std::string searchText;
    std::string choice;                      // the selector's text
    KeywordOrder order = KeywordOrder::File; // the list's, sorted for off this thread too
};

// A filter's outcome, in the order the request asked for.
struct LiveResult {
    lookup::LiveKeywords live;
    KeywordOrder order = KeywordOrder::File;
    std::vector<std::uint32_t> shown;
};

class LiveFilter : public QObject {
    Q_OBJECT
public:
    using Show = std::function<void(LiveResult)>;
    // `show` is called on this object's thread with each result still wanted.
    LiveFilter(Show show, QObject* parent);
    // Waits for a filter still running; its result is dropped.
    ~LiveFilter() override;

    void request(LiveRequest request);
    // What is running or waiting is no longer wanted (the list got other content).
    void cancel() { ++generation_; }

private:
    void startWaiting();

    Show show_;
    lookup::LiveSearch search_; // used by the worker alone
    QThreadPool worker_;
    std::uint64_t generation_ = 0;
    bool running_ = false;
    std::optional<std::pair<std::uint64_t, LiveRequest>> waiting_;
};

} // namespace app
