#include "ui/MessagePump.h"

#include "util/z_global.h"

#include <QCoreApplication>

namespace ui {

void InstallQtMessagePump()
{
    util::InstallMessagePump([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

} // namespace ui
