#include "printing/capital_numerals.h"

#include <cstdint>

namespace ts {

namespace {

const QString kDigits[] = {QStringLiteral("零"), QStringLiteral("壹"), QStringLiteral("贰"), QStringLiteral("叁"),
                           QStringLiteral("肆"), QStringLiteral("伍"), QStringLiteral("陆"), QStringLiteral("柒"),
                           QStringLiteral("捌"), QStringLiteral("玖")};
const QString kPlaces[] = {QString(), QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟")};

// 1 … 9999: a run of zeros between two digits reads as one "零", zeros at
// the end read as nothing.
QString group(std::uint64_t n)
{
    QString out;
    bool zeroPending = false;
    for (int place = 3; place >= 0; --place) {
        std::uint64_t scale = 1;
        for (int i = 0; i < place; ++i)
            scale *= 10;
        const int d = int(n / scale % 10);
        if (d == 0) {
            zeroPending = !out.isEmpty();
            continue;
        }
        if (zeroPending)
            out += kDigits[0];
        zeroPending = false;
        out += kDigits[d] + kPlaces[place];
    }
    return out;
}

// n > 0. A group word is written only when its group holds a digit, so
// 100000000 is "壹亿", not "壹亿万"; a gap of zeros before the lower part
// reads as one "零".
QString whole(std::uint64_t n)
{
    constexpr std::uint64_t kYi = 100000000;
    constexpr std::uint64_t kWan = 10000;
    if (n >= kYi) {
        const std::uint64_t low = n % kYi;
        QString out = whole(n / kYi) + QStringLiteral("亿");
        if (low == 0)
            return out;
        if (low < kYi / 10)
            out += kDigits[0];
        return out + whole(low);
    }
    if (n >= kWan) {
        const std::uint64_t low = n % kWan;
        QString out = group(n / kWan) + QStringLiteral("万");
        if (low == 0)
            return out;
        if (low < kWan / 10)
            out += kDigits[0];
        return out + group(low);
    }
    return group(n);
}

} // namespace

QString TKAIMoney::convert(Money amount)
{
    const std::int64_t units = amount.units();
    const bool negative = units < 0;
    // The magnitude as unsigned, so that the most negative amount has one.
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - std::uint64_t(units) : std::uint64_t(units);
    // To the fen, half away from zero: 0.125 → 0.13.
    const std::uint64_t perFen = std::uint64_t(Money::kScale / 100);
    const std::uint64_t fen = magnitude / perFen + (magnitude % perFen >= perFen / 2 ? 1 : 0);
    const std::uint64_t yuan = fen / 100;
    const int jiao = int(fen / 10 % 10);
    const int cents = int(fen % 10);

    QString out = negative && fen != 0 ? QStringLiteral("负") : QString();
    out += yuan == 0 ? kDigits[0] : whole(yuan);
    if (jiao == 0 && cents == 0)
        return out + QStringLiteral("圆整");
    out += QStringLiteral("圆");
    if (jiao != 0)
        out += kDigits[jiao] + QStringLiteral("角");
    if (cents != 0)
        out += kDigits[cents] + QStringLiteral("分");
    return out;
}

QString TKAIMoney::quantity(qint64 n)
{
    return convert(Money::yuan(n)).remove(QStringLiteral("圆整"));
}

} // namespace ts
