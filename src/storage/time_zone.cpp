#include "storage/time_zone.h"

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

namespace ts {

void pinLocalTimeZone()
{
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    // ":/etc/localtime" is the very file the library reads when TZ is unset.
    qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
    tzset();
}

} // namespace ts
