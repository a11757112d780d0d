// The refer-a-friend request: checking the form's values and building the address that carries
// them to the maker's site.
#pragma once

#include <QString>

namespace augurlex {

struct ReferralFields {
    QString ReferrerName;
    QString ReferrerEmail;
    QString ReferralMessage;
    QString FriendName;
    QString FriendEmail;
};

// Removes space characters at both ends; tabs and line breaks stay.
QString TrimSpaces(const QString& text);

// The check of the two e-mail texts (already trimmed) made before anything is sent: the message
// to show, or an empty text when the pair passes.
QString EmailPairProblem(const QString& referrerEmail, const QString& friendEmail);

// The first field that is empty or still holds its placeholder, as the message to show; an empty
// text when every field is filled in.
QString MissingFieldProblem(const ReferralFields& fields);

// The referral address: the service address with the keys taf1 to taf6 in this order. Every
// value is percent-encoded as UTF-8, so no value can add, change or cut a key.
QString BuildReferralAddress(const ReferralFields& fields);

// The module's state: the values of the last submission and the last address sent.
namespace modTellAFriend {
ReferralFields& Fields();
QString& ReferralAddress();

// Checks the stored fields; on success builds ReferralAddress and opens it, otherwise shows the
// first problem (critical icon) and sends nothing.
void SendReferral();
void OpenReferralPage();
} // namespace modTellAFriend

} // namespace augurlex
