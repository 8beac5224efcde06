#include "prepaid/tickets.h"

#include "money/ledger.h"
#include "storage/dates.h"
#include "storage/db.h"

namespace ts::tickets {

QString newSaleKey()
{
    return QString::number(QDateTime::currentMSecsSinceEpoch());
}

void addToBalance(Db& db, qint64 customerId, const QString& customerName, const QString& product, int n)
{
    db.requireTransaction("tickets::addToBalance");
    // "Update, else insert" holds only if no other station inserts between
    // the two: the customer's balances are taken one station at a time.
    db.serialise(QStringLiteral("客户水票总表"), customerId);
    Binds b{{QStringLiteral("id"), customerId}, {QStringLiteral("product"), product}, {QStringLiteral("n"), n}};
    if (db.run(QStringLiteral("update 客户水票总表 set 还剩数量=coalesce(还剩数量,0)+:n "
                              "where 客户编号=:id and 产品名称=:product"),
               b)
        > 0)
        return;
    b.insert(QStringLiteral("name"), customerName);
    db.run(QStringLiteral("insert into 客户水票总表 (客户编号,客户名称,产品名称,还剩数量) values (:id,:name,:product,:n)"), b);
}

void changeStock(Db& db, const QString& product, int n)
{
    db.requireTransaction("tickets::changeStock");
    db.serialise(QStringLiteral("水票库存表"));
    const Binds b{{QStringLiteral("product"), product}, {QStringLiteral("n"), n}};
    if (db.run(QStringLiteral("update 水票库存表 set 数量=coalesce(数量,0)+:n where 商品名称=:product"), b) == 0)
        db.run(QStringLiteral("insert into 水票库存表 (商品名称,数量) values (:product,:n)"), b);
}

void sell(Db& db, const TicketSale& s)
{
    db.requireTransaction("tickets::sell");
    db.run(QStringLiteral("insert into 水票销售明细 (客户编号,商品名称,购买数量,应付货款,实付货款,时间,客户名称,时间编号,"
                          "单价,备注,联系地址) values (:khbh,:spmc,:gmsl,:yfdk,:sfdk,:sj,:name,:key,:price,:note,"
                          ":address)"),
           {{QStringLiteral("khbh"), s.customerId},
            {QStringLiteral("spmc"), s.product},
            {QStringLiteral("gmsl"), s.quantity},
            {QStringLiteral("yfdk"), s.due.toVariant()},
            {QStringLiteral("sfdk"), s.paid.toVariant()},
            {QStringLiteral("sj"), dbDateTime(s.at)},
            {QStringLiteral("name"), s.customerName},
            {QStringLiteral("key"), s.key},
            {QStringLiteral("price"), s.unitPrice.toVariant()},
            {QStringLiteral("note"), s.note},
            {QStringLiteral("address"), s.customerAddress}});
    addToBalance(db, s.customerId, s.customerName, s.product, s.quantity);
    changeStock(db, s.product, -s.quantity);
    LedgerEntry money;
    money.name = QStringLiteral("水票销售");
    money.amount = s.paid;
    money.operatorName = s.operatorName;
    money.day = s.at.date();
    money.documentKey = s.key;
    ledger::record(db, money);
}

void track(Db& db, const TicketSale& s, const QStringList& numbers)
{
    db.requireTransaction("tickets::track");
    for (const QString& number : numbers)
        db.run(QStringLiteral("insert into 水票跟踪 (水票号码,购买人,销售人,购买时间,购买人编号,购买人地址,销售编号) "
                              "values (:number,:name,:operator,:day,:id,:address,:key)"),
               {{QStringLiteral("number"), number},
                {QStringLiteral("name"), s.customerName},
                {QStringLiteral("operator"), s.operatorName},
                {QStringLiteral("day"), dbDate(s.at.date())},
                {QStringLiteral("id"), s.customerId},
                {QStringLiteral("address"), s.customerAddress},
                {QStringLiteral("key"), s.key}});
}

} // namespace ts::tickets
