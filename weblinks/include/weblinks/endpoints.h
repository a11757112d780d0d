// Every web address and host the program uses, in one place. Changing a host here changes every
// launcher, link caption and request that points at it.
#pragma once

namespace augurlex {

// The three sites of the maker, all plain http.
inline constexpr const char* kMakerSiteHost = "www.seerhall.example";
inline constexpr const char* kMakerHelpSiteHost = "help.seerhall.example";
inline constexpr const char* kProductSiteHost = "www.augurlex.example";

// The maker's site: the browser pane's start page and the site argument of the web search.
inline constexpr const char* HomeURL = "http://www.seerhall.example";
inline constexpr const char* kMakerHelpSiteURL = "http://help.seerhall.example";
// Root of the product's own site, with its trailing slash (sent along with a referral).
inline constexpr const char* kProductSiteRootURL = "http://www.augurlex.example/";

// The pages the launchers open: fixed addresses without a query.
inline constexpr const char* kSoftwareSitePageURL = "http://www.seerhall.example/vaticsoftwares";
inline constexpr const char* kOnlineHelpPageURL = "http://www.augurlex.example/augurlex-help.html";
inline constexpr const char* kDownloadPageURL =
    "http://www.augurlex.example/download-augurlex.html";
inline constexpr const char* kDonatePageURL = "http://help.seerhall.example/donate.html";
inline constexpr const char* kFullBrandPageURL = "http://help.seerhall.example/fully-branded.html";
inline constexpr const char* kCoBrandPageURL = "http://help.seerhall.example/co-brand.html";

// The refer-a-friend request; its query is added by the referral builder.
inline constexpr const char* kReferralServiceURL =
    "http://www.seerhall.example/ormvs-refer-a-friend.php";

// The web-search service behind the search form of the browser pane.
inline constexpr const char* SearchRootURL = "http://www.google.com";
inline constexpr const char* kSearchFormActionURL = "http://www.google.com/custom";
inline constexpr const char* kSearchLogoURL = "http://www.google.com/logos/Logo_25wht.gif";
// The site owner's search-partner client identifier (none assigned yet: a placeholder).
inline constexpr const char* kSearchPartnerClientId = "pub-0000000000000000";

// Where advertisers write to (shown in the advertising notice of the main window).
inline constexpr const char* kAdvertisingEmail = "ads@seerhall.example";

} // namespace augurlex
