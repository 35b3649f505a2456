#include "QtMessageFilter.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace tavin::platform {

namespace {

QtMessageHandler g_previousHandler = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg)
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

void installQtMessageFilter()
{
    if (qEnvironmentVariableIntValue(kShowQtMessagesVariable) != 0)
        return;
    g_previousHandler = qInstallMessageHandler(filterMessage);
}

}  // namespace tavin::platform
