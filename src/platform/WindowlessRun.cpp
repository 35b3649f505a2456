#include "WindowlessRun.h"

#include <QByteArray>
#include <QtGlobal>

namespace tavin::platform {

void drawWithoutDisplay(bool ignoreDisplay)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Q_UNUSED(ignoreDisplay);
#else
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (ignoreDisplay || !display)
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
#endif
}

}  // namespace tavin::platform
