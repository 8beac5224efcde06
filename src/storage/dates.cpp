#include "storage/dates.h"

#include <QLocale>
#include <QRegularExpression>

namespace ts {

QString dbDate(const QDate& d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString dbDateTime(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QDateTime parseDateText(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return {};
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime t(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

QString dateText(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    QDateTime t;
    if (v.metaType().id() == QMetaType::QDateTime)
        t = v.toDateTime();
    else if (v.metaType().id() == QMetaType::QDate)
        t = QDateTime(v.toDate(), QTime(0, 0));
    else
        t = parseDateText(v.toString());
    if (!t.isValid())
        return v.toString();
    return t.time() == QTime(0, 0) ? dbDate(t.date()) : dbDateTime(t);
}

QString systemDateSeparator()
{
    const QString shortDate = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (shortDate.contains(QLatin1Char('-')))
        return QStringLiteral("-");
    if (shortDate.contains(QLatin1Char('/')))
        return QStringLiteral("/");
    return QStringLiteral("-");
}

} // namespace ts
