#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace ts {

// Named values for a statement: {{"phone", "138..."}, {"day", "2026-12-11"}}.
// Names are ASCII and carry no colon. ts::Money values are bound exactly.
using Binds = QVariantMap;

// A select that has not run yet: what a logic class hands a list that reads
// it page by page, instead of an open cursor.
struct Query {
    QString sql;
    Binds binds;
};

// The result of a select, read to its end, with values the same on both
// engines: dates and times as the stored text ("yyyy-MM-dd[ hh:mm:ss]"),
// money and other numeric columns as ts::Money, yes/no columns as bool,
// null as a null QVariant. Field names are matched without regard to case,
// since PostgreSQL folds unquoted Latin aliases to lower case.
class Rows {
public:
    Rows() = default;
    Rows(QStringList fields, QList<QVariantList> data) : fields_(std::move(fields)), data_(std::move(data)) {}

    const QStringList& fields() const { return fields_; }
    const QList<QVariantList>& data() const { return data_; }
    int size() const { return int(data_.size()); }
    bool isEmpty() const { return data_.isEmpty(); }

    // Position of a field, or -1.
    int column(const QString& field) const;
    const QVariant& value(int row, int column) const { return data_.at(row).at(column); }
    // The value of a field that the statement does not name is a logic
    // error of the caller: it throws std::out_of_range.
    const QVariant& value(int row, const QString& field) const;
    QString text(int row, const QString& field) const { return value(row, field).toString(); }
    QVariantMap map(int row) const;
    // Every value of one field, top to bottom, as text.
    QStringList texts(const QString& field) const;
    QStringList texts(int column) const;

private:
    QStringList fields_;
    QList<QVariantList> data_;
};

// A pattern for `like :p escape '\'` that finds `typed` anywhere in a value,
// with %, _ and the escape character standing for themselves.
QString containsPattern(const QString& typed);
// The same, for values that start with `typed`.
QString startsWithPattern(const QString& typed);
// The clause to write after a like whose pattern came from one of the two.
inline constexpr const char* kLikeEscape = " escape '\\'";

} // namespace ts
