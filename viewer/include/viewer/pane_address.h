// Which addresses the browser pane opens: web pages only. A stored link or a typed term with any
// other scheme (javascript:, file:, data: ...) could run script in the pane or read local files.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace viewer {

// Whether the pane may load url: http and https only.
bool isWebAddress(const QUrl& url);

// The address the pane opens for a link or a term. Text without a scheme is read the way an
// address bar reads it ("oracle.example/x" is an http address). nullopt when the result is not a
// web address, or the text is empty: the pane then keeps its page.
std::optional<QUrl> paneAddress(const QString& text);

} // namespace viewer
