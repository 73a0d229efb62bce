#pragma once

#include <QAbstractItemView>
#include <functional>

namespace ui {

// Runs the handler on a double-click with the left button anywhere in the list's
// area: on an entry, or in the empty part below the entries, where the handler
// then works on the marked entries or says that none is marked. A press in the
// empty part leaves the marks as they are, so that a double-click there works on
// what the user marked. The handler replaces the view's own double-click signal.
void OnDoubleClickAnywhere(QAbstractItemView* view, std::function<void()> handler);

} // namespace ui
