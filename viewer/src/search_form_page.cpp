#include "viewer/search_form_page.h"

#include "viewer/search_service.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

namespace viewer {

QString searchFormPage() {
    const QString root = QString::fromLatin1(kSearchRootURL);
    const QStringList lines = {
        "<HTML><BODY>",
        "<!-- Search Google -->",
        "<center>",
        QString("<form method=\"get\" action=\"%1\" target=\"_top\">").arg(kSearchFormActionURL),
        "<table bgcolor=\"#ffffff\">",
        "<tr><td nowrap=\"nowrap\" valign=\"top\" align=\"left\" height=\"32\">",
        QString("<a href=\"%1/\">").arg(root),
        QString("<img src=\"%1\" border=\"0\" alt=\"Google\" align=\"middle\"></img></a>")
            .arg(kSearchLogoURL),
        "<input type=\"text\" name=\"q\" size=\"31\" maxlength=\"255\" value=\"\"></input>",
        "<input type=\"submit\" name=\"sa\" value=\"Search\"></input>",
        QString("<input type=\"hidden\" name=\"client\" value=\"%1\"></input>")
            .arg(kSearchPartnerClientId),
        "<input type=\"hidden\" name=\"forid\" value=\"1\"></input>",
        "<input type=\"hidden\" name=\"ie\" value=\"ISO-8859-1\"></input>",
        "<input type=\"hidden\" name=\"oe\" value=\"ISO-8859-1\"></input>",
        "<input type=\"hidden\" name=\"cof\" value=\"GALT:#008000;GL:1;DIV:#336699;VLC:663399;"
        "AH:center;BGC:FFFFFF;LBGC:336699;ALC:0000FF;LC:0000FF;T:000000;GFNT:0000FF;GIMP:0000FF;"
        "FORID:1;\"></input>",
        "<input type=\"hidden\" name=\"hl\" value=\"en\"></input>",
        "</td></tr></table>",
        "</form>",
        "</center>",
        "<!-- Search Google --></BODY>",
        "</HTML>",
    };
    return lines.join("\r\n") + "\r\n";
}

QString javaScriptString(const QString& text) {
    // A JSON string is a JavaScript string literal; only the array brackets are dropped.
    QString array =
        QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    return array.mid(1, array.size() - 2);
}

QString formSearchScript(const QString& page, const QString& query) {
    return QString("(function () {"
                   "  var body = document.body;"
                   "  if (!body) return false;"
                   "  body.innerHTML = %1;"
                   "  function named(name) {"
                   "    var all = body.getElementsByTagName('*');"
                   "    for (var i = 0; i < all.length; ++i) {"
                   "      var n = all[i].getAttribute('name');"
                   "      if (n && n.toLowerCase() === name) return all[i];"
                   "    }"
                   "    return null;"
                   "  }"
                   "  var q = named('q');"
                   "  if (!q) return false;"
                   "  q.value = %2;"
                   "  var sa = named('sa');"
                   "  if (!sa) return false;"
                   "  sa.click();"
                   "  return true;"
                   "})()")
        .arg(javaScriptString(page), javaScriptString(query));
}

} // namespace viewer
