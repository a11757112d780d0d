#include "weblinks/tell_a_friend.h"

#include "message_box.h"
#include "weblinks/endpoints.h"
#include "weblinks/web_page.h"

#include <QUrl>
#include <array>

namespace augurlex {
namespace {

struct RequiredField {
    QString ReferralFields::*field;
    const char* placeholder;
    const char* message;
};

const std::array<RequiredField, 5> kRequiredFields{{
    {&ReferralFields::ReferrerName, "Your Name", "Please Enter Your Name"},
    {&ReferralFields::ReferrerEmail, "Your Email Address", "Please Enter Your Email"},
    {&ReferralFields::ReferralMessage, "Your Message", "Please Enter Your Message"},
    {&ReferralFields::FriendName, "Friend's Name", "Please Enter Your Friend's Name"},
    {&ReferralFields::FriendEmail, "Friend's Email Address", "Please Enter Your Friend's Email"},
}};

QString encoded(const QString& value) {
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

QString TrimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == QChar(' '))
        ++first;
    while (end > first && text[end - 1] == QChar(' '))
        --end;
    return text.mid(first, end - first);
}

QString EmailPairProblem(const QString& referrerEmail, const QString& friendEmail) {
    if (referrerEmail == friendEmail)
        return "Please Enter Distinct Email Addresses";
    if (!referrerEmail.contains('@') || !friendEmail.contains('@'))
        return "Please Enter Proper Email Address";
    if (!referrerEmail.contains('.') || !friendEmail.contains('.'))
        return "Please Enter Proper Email Address";
    return {};
}

QString MissingFieldProblem(const ReferralFields& fields) {
    for (const RequiredField& required : kRequiredFields) {
        const QString& value = fields.*required.field;
        if (value.isEmpty() || value == QLatin1String(required.placeholder))
            return required.message;
    }
    return {};
}

QString BuildReferralAddress(const ReferralFields& fields) {
    return QString(kReferralServiceURL) + "?taf1=" + encoded(fields.ReferrerName) +
           "&taf2=" + encoded(fields.ReferrerEmail) + "&taf3=" + encoded(fields.ReferralMessage) +
           "&taf4=" + encoded(fields.FriendName) + "&taf5=" + encoded(fields.FriendEmail) +
           "&taf6=" + encoded(kProductSiteRootURL);
}

namespace modTellAFriend {

ReferralFields& Fields() {
    static ReferralFields fields;
    return fields;
}

QString& ReferralAddress() {
    static QString address;
    return address;
}

void SendReferral() {
    const QString problem = MissingFieldProblem(Fields());
    if (!problem.isEmpty()) {
        ShowMessage({problem, MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    ReferralAddress() = BuildReferralAddress(Fields());
    OpenReferralPage();
}

void OpenReferralPage() {
    OpenWebPage(ReferralAddress());
}

} // namespace modTellAFriend

} // namespace augurlex
