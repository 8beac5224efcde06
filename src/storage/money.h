#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <compare>
#include <cstdint>
#include <optional>

namespace ts {

// An amount of yuan kept exactly in ten-thousandths, the precision of the
// money columns. Doubles never hold a balance here: a sum of many small
// amounts must come out to the fen.
class Money {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t tenThousandths) { Money m; m.units_ = tenThousandths; return m; }
    static constexpr Money yuan(std::int64_t whole) { return fromUnits(whole * kScale); }

    // Parses "12", "-3.5", "0.0100", "1e2" and rounds to the fourth decimal
    // (half away from zero). Returns false on text that is not a number.
    static bool parse(const QString& text, Money* out);
    // Reads a value as the database hands it back: a decimal string (PostgreSQL
    // numeric), a double or integer (SQLite) or null (read as 0).
    static Money fromVariant(const QVariant& v);

    constexpr std::int64_t units() const { return units_; }
    double toDouble() const { return double(units_) / kScale; }
    // Always four decimals: "12.3400". Exact, for storing and binding.
    QString toDecimalString() const;
    // Shortest form for people: "12.34", "5", "-0.5".
    QString toDisplayString() const;
    // The value to bind for a money parameter: exact on both engines.
    QVariant toVariant() const { return QVariant::fromValue(*this); }

    constexpr Money operator+(Money o) const { return fromUnits(units_ + o.units_); }
    constexpr Money operator-(Money o) const { return fromUnits(units_ - o.units_); }
    constexpr Money operator-() const { return fromUnits(-units_); }
    constexpr Money operator*(std::int64_t n) const { return fromUnits(units_ * n); }
    // Amount × quantity, and amount × rate (a rate such as 0.85 kept to four
    // decimals like an amount), rounded half away from zero to the fourth
    // decimal. Empty when the result does not fit: a caller refuses the
    // operation rather than store a wrapped-around amount.
    std::optional<Money> times(std::int64_t quantity) const;
    std::optional<Money> timesRate(Money rate) const;
    Money& operator+=(Money o) { units_ += o.units_; return *this; }
    Money& operator-=(Money o) { units_ -= o.units_; return *this; }
    constexpr auto operator<=>(const Money&) const = default;
    constexpr bool isZero() const { return units_ == 0; }

private:
    std::int64_t units_ = 0;
};

// Lets a QVariant holding Money convert to its text and to double. Called
// when a connection opens, before any row is read.
void registerMoneyConversions();

} // namespace ts

Q_DECLARE_METATYPE(ts::Money)
