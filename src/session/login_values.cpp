#include "session/login_values.h"

namespace ts {

namespace {
QChar rightAt(const QStringList& rights, int group, int position)
{
    if (group < 1 || group > rights.size() || position < 1)
        return QChar();
    const QString& s = rights.at(group - 1);
    return position <= s.size() ? s.at(position - 1) : QChar();
}
} // namespace

bool LoginValues::allows(int group, int position) const
{
    return rightAt(rights, group, position) != QLatin1Char('0');
}

bool LoginValues::allowsStrict(int group, int position) const
{
    return rightAt(rights, group, position) == QLatin1Char('1');
}

LoginValues& LoginValues::current()
{
    static LoginValues values;
    return values;
}

} // namespace ts
