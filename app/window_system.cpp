#include "app/window_system.h"

#include <QByteArray>
#include <QtGlobal>

void PrepareWindowSystem()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}
