#pragma once

#include "storage/db.h"

#include <QString>
#include <QStringList>

namespace ts {

// The customer columns that the list and the caller lookup search for a
// typed part of the text anywhere in the value.
const QStringList& customerSearchColumns();

// Indexes that let those searches skip the rows that cannot match: a
// trigram full-text table kept in step by triggers on SQLite, trigram GIN
// indexes on PostgreSQL. Safe to run again; a new SQLite index table is
// filled from the rows already there.
void createSearchIndexes(Db& db);

// Conditions for `where 1=1 ...` that find typed texts anywhere in customer
// columns with exactly the rows of `column like '%typed%'` under the
// engine's own like (SQLite folds ASCII case, PostgreSQL does not), typed
// %, _ and \ standing for themselves. The index narrows the rows where the
// text is long enough to have trigrams; shorter texts are compared on
// every row, which on SQLite the index could not answer at all.
class ContainsSearch {
public:
    explicit ContainsSearch(Engine engine) : engine_(engine) {}

    // bind names the value (ASCII); an empty typed text adds nothing.
    void add(const QString& column, const QString& bind, const QString& typed);

    // " and …" for the statement's where, and the values to bind with it.
    QString conditions() const;
    Binds binds() const;

    // Typed texts of fewer characters than this are compared row by row.
    static constexpr int kIndexedLength = 3;

private:
    Engine engine_;
    QString conditions_;
    QStringList ftsTerms_;
    Binds binds_;
};

} // namespace ts
