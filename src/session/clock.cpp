#include "session/clock.h"

#include <optional>

namespace ts::clock {

namespace {
std::optional<QDateTime>& fixed()
{
    static std::optional<QDateTime> at;
    return at;
}
} // namespace

QDateTime now()
{
    // Whole seconds: the stored texts have no finer resolution, and a value
    // compared with its own stored text must be equal.
    const QDateTime t = fixed() ? *fixed() : QDateTime::currentDateTime();
    return t.addMSecs(-t.time().msec());
}

QDate today()
{
    return now().date();
}

void setNow(const QDateTime& at)
{
    fixed() = at;
}

void reset()
{
    fixed().reset();
}

} // namespace ts::clock
