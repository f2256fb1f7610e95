#pragma once
#include <QGuiApplication>
#include <QScopeGuard>
#include <utility>

// Shows the busy pointer while the steps run: a formatting write over a large selection relays
// out the whole document.
template <typename Steps>
void withBusyPointer(Steps &&steps)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    std::forward<Steps>(steps)();
}
