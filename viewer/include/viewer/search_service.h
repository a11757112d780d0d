// The web-search service's root, as the load step knows it (browser_pane.h): a pending address
// equal to it, compared exactly, asks for a web search. The search itself is ui/web_search.h.
#pragma once

namespace viewer {

inline constexpr const char* kSearchRootURL = "http://www.google.com";

} // namespace viewer
