#include "storage/money.h"

#include <QRegularExpression>

#include <cmath>

namespace ts {

namespace {

// Rounds a plain decimal text ("-12.34567") to ten-thousandths without going
// through a double, so "0.1" is exactly 1000 units.
bool parseDecimal(const QString& t, std::int64_t* units)
{
    static const QRegularExpression re(QStringLiteral("^([+-]?)(\\d*)(?:\\.(\\d*))?$"));
    const auto m = re.match(t);
    if (!m.hasMatch())
        return false;
    const QString whole = m.captured(2);
    const QString frac = m.captured(3);
    if (whole.isEmpty() && frac.isEmpty())
        return false;
    if (whole.size() > 14)
        return false;
    std::int64_t w = whole.isEmpty() ? 0 : whole.toLongLong();
    std::int64_t f = 0;
    for (int i = 0; i < 4; ++i)
        f = f * 10 + (i < frac.size() ? frac.at(i).digitValue() : 0);
    std::int64_t u = w * Money::kScale + f;
    if (frac.size() > 4 && frac.at(4).digitValue() >= 5)
        ++u;
    *units = m.captured(1) == QLatin1String("-") ? -u : u;
    return true;
}

} // namespace

bool Money::parse(const QString& text, Money* out)
{
    const QString t = text.trimmed();
    std::int64_t u = 0;
    if (parseDecimal(t, &u)) {
        *out = fromUnits(u);
        return true;
    }
    // Scientific notation only ever comes from an engine's double.
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 9e13)
        return false;
    *out = fromUnits(std::llround(d * kScale));
    return true;
}

Money Money::fromVariant(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    if (v.metaType() == QMetaType::fromType<Money>())
        return v.value<Money>();
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return yuan(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return fromUnits(std::llround(v.toDouble() * kScale));
    default: {
        Money m;
        return parse(v.toString(), &m) ? m : Money();
    }
    }
}

namespace {

// Products of two amounts need more than 64 bits before they are scaled back.
__extension__ typedef __int128 Wide;

// Amounts beyond a hundred trillion yuan are no station's and would not
// survive the money columns; the limit keeps every sum of such values in range.
constexpr Wide kLimit = Wide(900'000'000'000'000) * Money::kScale / 10;

std::optional<Money> fitted(Wide units)
{
    if (units > kLimit || units < -kLimit)
        return std::nullopt;
    return Money::fromUnits(std::int64_t(units));
}

} // namespace

std::optional<Money> Money::times(std::int64_t quantity) const
{
    return fitted(Wide(units_) * quantity);
}

std::optional<Money> Money::timesRate(Money rate) const
{
    const Wide product = Wide(units_) * rate.units();
    // Back to ten-thousandths, half away from zero.
    const Wide half = kScale / 2;
    const Wide q = product >= 0 ? (product + half) / kScale : -((-product + half) / kScale);
    return fitted(q);
}

QString Money::toDecimalString() const
{
    const std::int64_t a = units_ < 0 ? -units_ : units_;
    return QStringLiteral("%1%2.%3")
        .arg(units_ < 0 ? QStringLiteral("-") : QString())
        .arg(a / kScale)
        .arg(a % kScale, 4, 10, QLatin1Char('0'));
}

QString Money::toDisplayString() const
{
    QString s = toDecimalString();
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

void registerMoneyConversions()
{
    // Grids and forms read values with QVariant::toString(); a money value
    // must read as its amount there, not as an empty text.
    static const bool done = [] {
        QMetaType::registerConverter<Money, QString>(&Money::toDisplayString);
        QMetaType::registerConverter<Money, double>(&Money::toDouble);
        return true;
    }();
    (void)done;
}

} // namespace ts
