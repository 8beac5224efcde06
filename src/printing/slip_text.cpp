#include "printing/slip_text.h"

#include "storage/dates.h"
#include "storage/money.h"

namespace ts::printing {

int gb2312Bytes(char32_t c)
{
    return c < 0x80 ? 1 : 2;
}

QString wrapGb2312(const QString& text, int limit)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    int line = 0;
    for (auto it = text.cbegin(); it != text.cend(); ++it) {
        if (*it == QLatin1Char('\n')) {
            out += *it;
            line = 0;
            continue;
        }
        // A character outside the BMP is one character of two UTF-16 units:
        // it takes its break as a whole.
        char32_t c = it->unicode();
        QString unit(*it);
        if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate()) {
            c = QChar::surrogateToUcs4(*it, *(it + 1));
            unit += *++it;
        }
        if (line >= limit) {
            out += QLatin1Char('\n');
            line = 0;
        }
        out += unit;
        line += gb2312Bytes(c);
    }
    return out;
}

QString html(const QString& text)
{
    QString out = text.toHtmlEscaped();
    out.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    return out;
}

QString fieldText(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    const int type = v.metaType().id();
    if (type == QMetaType::QDateTime || type == QMetaType::QDate)
        return dateText(v);
    if (type == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    if (v.metaType() == QMetaType::fromType<Money>() || type == QMetaType::Double)
        return Money::fromVariant(v).toDisplayString();
    return v.toString();
}

} // namespace ts::printing
