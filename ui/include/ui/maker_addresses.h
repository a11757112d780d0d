// The maker's web addresses, in one place. A distributor sets the two sites when building
// (AUGURLEX_MAKER_SITE and AUGURLEX_PRODUCT_SITE); a build without them has no maker pages, and
// every link to one says so instead of opening an address that leads nowhere.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace ui {

// The pages of the maker's sites that the program links to.
enum class MakerPage {
    Home,            // the maker's site itself
    SoftwareSite,    // the maker's other programs
    Donate,          // donations
    FullBrand,       // the fully-branded offer
    CoBrand,         // the co-branded offer
    ReferralService, // the refer-a-friend request (its query is added by the request)
    Download,        // the newest version of this program
    ProductSite,     // the product's own site, with its trailing slash
};

// The two sites, as scheme and host with no trailing slash ("https://www.example.org"); empty
// when not set.
struct MakerSites {
    QString maker;
    QString product;
};

// The address of a page of the given sites; nullopt when its site is not set.
std::optional<QString> makerPageAddress(MakerPage page, const MakerSites& sites);

// The sites this build was made with (or those a test put in place).
MakerSites builtInMakerSites();
void setMakerSitesForTesting(std::optional<MakerSites> sites);

// The address of a page of this build's sites.
std::optional<QString> makerAddress(MakerPage page);

// Whether this build has an address for the page.
bool hasMakerPage(MakerPage page);

// The tooltip of a control that is disabled because this build has no address for its page.
inline constexpr const char* kNoMakerAddressTip =
    "This copy of Augurlex was built without the maker's web site.";

// Disables the control, with the tooltip above, when this build has no address for the page;
// a control that leads nowhere should not look as if it led somewhere.
void disableWithoutAddress(QWidget& control, MakerPage page);

// The maker's host for captions ("www.example.org"), or an empty text without a maker site.
QString makerSiteHost();

// The message shown for a page that has no address in this build.
inline constexpr const char* kNoMakerAddressMessage =
    "This copy of Augurlex was built without the maker's web site, so this link has no page to "
    "open.";

// Opens the page in the default browser, or, when it has no address, shows the message above.
void openMakerPage(MakerPage page, QWidget* parent = nullptr);

} // namespace ui
