// The refer-a-friend request: the exit screen's form values, the checks made before anything is
// sent, and the address that carries the values to the maker's site.
#pragma once

#include <QString>

namespace weblinks {

struct ReferralFields {
    QString referrerName;
    QString referrerEmail;
    QString message;
    QString friendName;
    QString friendEmail;
};

// Removes space characters at both ends; tabs and line breaks stay.
QString trimSpaces(const QString& text);

class ReferralRequest {
public:
    // The values as typed; the request keeps them trimmed of spaces.
    explicit ReferralRequest(const ReferralFields& typed);

    const ReferralFields& fields() const { return fields_; }

    // The message to show instead of sending, or an empty text when the request may go. The two
    // e-mail addresses are checked first (distinct, each with "@" and "."), then the fields in
    // form order, each for being empty or still holding its placeholder.
    QString problem() const;

    // The service address with the keys taf1 to taf6 in this order, taf6 being the product's
    // site. Every value is percent-encoded as UTF-8, so no value can add, change or cut a key.
    QString address(const QString& serviceAddress, const QString& productSite) const;

private:
    QString emailPairProblem() const;
    QString missingFieldProblem() const;

    ReferralFields fields_;
};

} // namespace weblinks
