// Which texts the browser pane opens as web addresses. A link or a term is a web address when it
// is an http or https address, or a host name with a dot and no spaces ("oracle.example/x",
// read as http). Any other scheme (javascript:, file:, data: ...) could run script in the pane
// or read local files and is never opened; any other text is a term, which the pane shows on a
// page of its own (browser_pane.h) and never hands to the browser as an address.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace viewer {

// Whether the pane may load url: http and https only.
bool isWebAddress(const QUrl& url);

// The web address the text names (spaces at its ends ignored), or nullopt. Without a scheme the
// text must be a host name, at least two dot-separated labels of letters, digits and hyphens
// whose last one holds a letter (or four numbers, an IPv4 address), with an optional port and
// then an optional path, query or fragment, all without spaces.
std::optional<QUrl> paneAddress(const QString& text);

// Whether the text begins with a scheme ("mailto:", "javascript:"), so that it is some kind of
// address rather than a term. "oracle.example:8080" is a host and port, not a scheme.
bool hasScheme(const QString& text);

} // namespace viewer
