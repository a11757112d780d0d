#include "weblinks/referral_request.h"

#include <QUrl>
#include <array>

namespace weblinks {
namespace {

struct RequiredField {
    QString ReferralFields::*field;
    const char* placeholder;
    const char* message;
};

const std::array<RequiredField, 5> kRequiredFields{{
    {&ReferralFields::referrerName, "Your Name", "Please Enter Your Name"},
    {&ReferralFields::referrerEmail, "Your Email Address", "Please Enter Your Email"},
    {&ReferralFields::message, "Your Message", "Please Enter Your Message"},
    {&ReferralFields::friendName, "Friend's Name", "Please Enter Your Friend's Name"},
    {&ReferralFields::friendEmail, "Friend's Email Address", "Please Enter Your Friend's Email"},
}};

QString encoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == QChar(' '))
        ++first;
    while (end > first && text[end - 1] == QChar(' '))
        --end;
    return text.mid(first, end - first);
}

ReferralRequest::ReferralRequest(const ReferralFields& typed)
    : fields_{trimSpaces(typed.referrerName), trimSpaces(typed.referrerEmail),
              trimSpaces(typed.message), trimSpaces(typed.friendName),
              trimSpaces(typed.friendEmail)} {}

QString ReferralRequest::problem() const {
    const QString pair = emailPairProblem();
    return pair.isEmpty() ? missingFieldProblem() : pair;
}

QString ReferralRequest::emailPairProblem() const {
    const QString& mine = fields_.referrerEmail;
    const QString& friends = fields_.friendEmail;
    if (mine == friends)
        return "Please Enter Distinct Email Addresses";
    if (!mine.contains('@') || !friends.contains('@'))
        return "Please Enter Proper Email Address";
    if (!mine.contains('.') || !friends.contains('.'))
        return "Please Enter Proper Email Address";
    return {};
}

QString ReferralRequest::missingFieldProblem() const {
    for (const RequiredField& required : kRequiredFields) {
        const QString& value = fields_.*required.field;
        if (value.isEmpty() || value == QLatin1String(required.placeholder))
            return required.message;
    }
    return {};
}

QString ReferralRequest::address(const QString& serviceAddress, const QString& productSite) const {
    return serviceAddress + "?taf1=" + encoded(fields_.referrerName) +
           "&taf2=" + encoded(fields_.referrerEmail) + "&taf3=" + encoded(fields_.message) +
           "&taf4=" + encoded(fields_.friendName) + "&taf5=" + encoded(fields_.friendEmail) +
           "&taf6=" + encoded(productSite);
}

} // namespace weblinks
