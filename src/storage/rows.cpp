#include "storage/rows.h"

#include <stdexcept>

namespace ts {

int Rows::column(const QString& field) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const QVariant& Rows::value(int row, const QString& field) const
{
    const int c = column(field);
    if (c < 0)
        throw std::out_of_range("no such field in the result: " + field.toStdString());
    return data_.at(row).at(c);
}

QVariantMap Rows::map(int row) const
{
    QVariantMap m;
    const QVariantList& r = data_.at(row);
    for (int i = 0; i < fields_.size(); ++i)
        m.insert(fields_.at(i), r.at(i));
    return m;
}

QStringList Rows::texts(const QString& field) const
{
    const int c = column(field);
    if (c < 0)
        throw std::out_of_range("no such field in the result: " + field.toStdString());
    return texts(c);
}

QStringList Rows::texts(int column) const
{
    QStringList out;
    out.reserve(data_.size());
    for (const QVariantList& r : data_)
        out << r.at(column).toString();
    return out;
}

namespace {

QString escapeLike(const QString& typed)
{
    QString out;
    out.reserve(typed.size() + 4);
    for (const QChar c : typed) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

} // namespace

QString containsPattern(const QString& typed)
{
    return QLatin1Char('%') + escapeLike(typed) + QLatin1Char('%');
}

QString startsWithPattern(const QString& typed)
{
    return escapeLike(typed) + QLatin1Char('%');
}

} // namespace ts
