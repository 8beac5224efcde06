#include "customers/customer_search_index.h"

namespace ts {

namespace {

const QString kFtsTable = QStringLiteral("kehu_fts");

int characters(const QString& s)
{
    return int(s.toUcs4().size());
}

QString ftsPhrase(const QString& typed)
{
    QString t = typed;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

void createSqliteIndex(Db& db)
{
    const bool exists = !db.scalar(QStringLiteral("select 1 from sqlite_master where name=:n"),
                                   {{QStringLiteral("n"), kFtsTable}})
                             .isNull();
    const QString cols = customerSearchColumns().join(QLatin1Char(','));
    QStringList newCols, oldCols;
    for (const QString& c : customerSearchColumns()) {
        newCols << QStringLiteral("new.") + c;
        oldCols << QStringLiteral("old.") + c;
    }
    // External content: the words live once, in 客户资料; the index holds
    // only trigrams and is told of every change by the triggers below.
    db.exec(QStringLiteral("create virtual table if not exists %1 using fts5(%2, content='客户资料', "
                           "content_rowid='id', tokenize='trigram')")
                .arg(kFtsTable, cols));
    const QString insertNew = QStringLiteral("insert into %1(rowid,%2) values (new.id,%3);")
                                  .arg(kFtsTable, cols, newCols.join(QLatin1Char(',')));
    const QString deleteOld = QStringLiteral("insert into %1(%1,rowid,%2) values ('delete',old.id,%3);")
                                  .arg(kFtsTable, cols, oldCols.join(QLatin1Char(',')));
    db.exec(QStringLiteral("create trigger if not exists kehu_fts_ai after insert on 客户资料 begin %1 end")
                .arg(insertNew));
    db.exec(QStringLiteral("create trigger if not exists kehu_fts_ad after delete on 客户资料 begin %1 end")
                .arg(deleteOld));
    db.exec(QStringLiteral("create trigger if not exists kehu_fts_au after update of %1 on 客户资料 begin %2 %3 end")
                .arg(cols, deleteOld, insertNew));
    if (!exists)
        db.exec(QStringLiteral("insert into %1(%1) values ('rebuild')").arg(kFtsTable));
}

void createPostgresIndexes(Db& db)
{
    // pg_trgm is a trusted extension: the owner of the database may add it.
    db.exec(QStringLiteral("create extension if not exists pg_trgm"));
    const QStringList names{QStringLiteral("name"), QStringLiteral("phone"), QStringLiteral("code"),
                            QStringLiteral("address")};
    for (int i = 0; i < customerSearchColumns().size(); ++i)
        db.exec(QStringLiteral("create index if not exists ix_kehu_%1_trgm on 客户资料 using gin (%2 gin_trgm_ops)")
                    .arg(names.at(i), customerSearchColumns().at(i)));
}

} // namespace

const QStringList& customerSearchColumns()
{
    static const QStringList columns{QStringLiteral("客户姓名"), QStringLiteral("联系电话"), QStringLiteral("手工编码"),
                                     QStringLiteral("联系地址")};
    return columns;
}

void createSearchIndexes(Db& db)
{
    if (db.engine() == Engine::Sqlite)
        createSqliteIndex(db);
    else
        createPostgresIndexes(db);
}

void ContainsSearch::add(const QString& column, const QString& bind, const QString& typed)
{
    if (typed.isEmpty())
        return;
    const bool indexed = customerSearchColumns().contains(column) && characters(typed) >= kIndexedLength;
    binds_.insert(bind, containsPattern(typed));
    // The trigram table folds case beyond ASCII, so it may find more than
    // like does; the like that follows keeps only like's own rows. Shorter
    // texts are left to the like alone: the trigram table would find no row
    // at all. PostgreSQL needs no such help: the like itself is what its
    // trigram index answers, and for a text without a trigram its planner
    // reads the table instead of the whole index.
    if (engine_ == Engine::Sqlite && indexed)
        ftsTerms_ << column + QStringLiteral(" : ") + ftsPhrase(typed);
    conditions_ += QStringLiteral(" and ") + column + QStringLiteral(" like :") + bind + QLatin1String(kLikeEscape);
}

Binds ContainsSearch::binds() const
{
    Binds b = binds_;
    if (!ftsTerms_.isEmpty())
        b.insert(QStringLiteral("ftsquery"), ftsTerms_.join(QStringLiteral(" AND ")));
    return b;
}

QString ContainsSearch::conditions() const
{
    if (ftsTerms_.isEmpty())
        return conditions_;
    return QStringLiteral(" and id in (select rowid from %1 where %1 match :ftsquery)").arg(kFtsTable) + conditions_;
}

} // namespace ts
