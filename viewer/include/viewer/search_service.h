// The web-search service behind the pane's search form and the "Google Search" mode.
#pragma once

namespace viewer {

// The service's root: scheme and host, no trailing slash. A pending address equal to it asks the
// pane's load for a web search.
inline constexpr const char* kSearchRootURL = "http://www.google.com";
inline constexpr const char* kSearchFormActionURL = "http://www.google.com/custom";
inline constexpr const char* kSearchLogoURL = "http://www.google.com/logos/Logo_25wht.gif";
// The site owner's search-partner client identifier (none assigned yet: a placeholder).
inline constexpr const char* kSearchPartnerClientId = "pub-0000000000000000";

} // namespace viewer
