// The web-search form page the pane writes into its document, and the script that fills and
// sends it.
#pragma once

#include <QString>

namespace viewer {

// The page, lines ended by CR LF.
QString searchFormPage();

// A JavaScript string literal of text: no text can end the literal or run as script.
QString javaScriptString(const QString& text);

// Writes page into the current document's body, puts query into the field "q" (name compared
// ignoring case) and clicks "sa". The script's value is true when all three steps ran.
QString formSearchScript(const QString& page, const QString& query);

} // namespace viewer
