// The maker's web addresses, in one place. Changing a host here changes every launcher, link
// caption and request that points at it.
#pragma once

namespace ui {

// The maker's main site (the others are its help site and the product's own site).
inline constexpr const char* kMakerSiteHost = "www.seerhall.example";

// The maker's site: the browser pane's start page and the site argument of the web search.
inline constexpr const char* kHomePageURL = "http://www.seerhall.example";
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

// The refer-a-friend request; its query is added by the referral request.
inline constexpr const char* kReferralServiceURL =
    "http://www.seerhall.example/ormvs-refer-a-friend.php";

} // namespace ui
