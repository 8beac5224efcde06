#include "orders/order_basket.h"

#include "orders/commission_rules.h"
#include "storage/db.h"

#include <QCryptographicHash>
#include <QSysInfo>
#include <QUuid>

namespace ts {

namespace {

const QString kColumns = QStringLiteral("行号,产品名称,数量,销售单价,总金额,提成,产品类型");

BasketLine lineOf(const Rows& r, int i)
{
    BasketLine l;
    l.line = r.value(i, QStringLiteral("行号")).toInt();
    l.product = r.text(i, QStringLiteral("产品名称"));
    l.quantity = r.text(i, QStringLiteral("数量"));
    l.unitPrice = r.text(i, QStringLiteral("销售单价"));
    l.amount = r.text(i, QStringLiteral("总金额"));
    l.commission = r.text(i, QStringLiteral("提成"));
    l.productType = r.text(i, QStringLiteral("产品类型"));
    return l;
}

std::optional<Money> parseMoney(const QString& text)
{
    Money m;
    if (!Money::parse(text.trimmed(), &m))
        return std::nullopt;
    return m;
}

const QString kTooLarge = QStringLiteral("金额超出范围，请检查数量和单价！！");

} // namespace

QString OrderBasket::stationPrefix()
{
    // The host name is what tells the stations sharing a database apart; a
    // hash keeps the key short and free of characters a name may hold.
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(host, QCryptographicHash::Sha1).toHex().left(8));
}

QString OrderBasket::newKey()
{
    return stationPrefix() + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128);
}

void OrderBasket::clearStation(Db& db)
{
    db.run(QStringLiteral("delete from 销售临时表 where 电话号码 like :prefix") + QString::fromLatin1(kLikeEscape),
           {{QStringLiteral("prefix"), startsWithPattern(stationPrefix() + QLatin1Char('-'))}});
}

Rows OrderBasket::rows()
{
    return db_.select(QStringLiteral("select %1 from 销售临时表 where 电话号码=:key order by 行号").arg(kColumns),
                      {{QStringLiteral("key"), key_}});
}

QList<BasketLine> OrderBasket::lines()
{
    const Rows r = rows();
    QList<BasketLine> out;
    for (int i = 0; i < r.size(); ++i)
        out << lineOf(r, i);
    return out;
}

std::optional<BasketLine> OrderBasket::line(int line)
{
    const Rows r = db_.select(QStringLiteral("select %1 from 销售临时表 where 电话号码=:key and 行号=:line").arg(kColumns),
                              {{QStringLiteral("key"), key_}, {QStringLiteral("line"), line}});
    if (r.isEmpty())
        return std::nullopt;
    return lineOf(r, 0);
}

int OrderBasket::add(const QString& product, Money unitPrice, const std::optional<Money>& commission,
                     const QString& productType)
{
    // Only this window writes under its key, so the next number cannot be
    // taken by anyone else between the read and the insert.
    const int next = db_.scalar(QStringLiteral("select coalesce(max(行号),0)+1 from 销售临时表 where 电话号码=:key"),
                                {{QStringLiteral("key"), key_}})
                         .toInt();
    BasketLine l;
    l.line = next;
    l.product = product;
    l.quantity = QStringLiteral("1");
    l.unitPrice = unitPrice.toDisplayString();
    l.amount = unitPrice.toDisplayString();
    l.commission = commission ? commission->toDisplayString() : QString();
    l.productType = productType;
    db_.run(QStringLiteral("insert into 销售临时表 (电话号码,行号,产品名称,数量,销售单价,总金额,提成,产品类型) "
                           "values (:key,:line,:product,:qty,:price,:amount,:commission,:type)"),
            bindsOf(l));
    return next;
}

void OrderBasket::remove(int line)
{
    db_.run(QStringLiteral("delete from 销售临时表 where 电话号码=:key and 行号=:line"),
            {{QStringLiteral("key"), key_}, {QStringLiteral("line"), line}});
}

void OrderBasket::clear()
{
    db_.run(QStringLiteral("delete from 销售临时表 where 电话号码=:key"), {{QStringLiteral("key"), key_}});
}

Binds OrderBasket::bindsOf(const BasketLine& l) const
{
    return {{QStringLiteral("key"), key_},
            {QStringLiteral("line"), l.line},
            {QStringLiteral("product"), l.product},
            {QStringLiteral("qty"), l.quantity},
            {QStringLiteral("price"), l.unitPrice},
            {QStringLiteral("amount"), l.amount},
            {QStringLiteral("commission"), l.commission},
            {QStringLiteral("type"), l.productType}};
}

void OrderBasket::save(const BasketLine& l)
{
    db_.run(QStringLiteral("update 销售临时表 set 产品名称=:product,数量=:qty,销售单价=:price,总金额=:amount,"
                           "提成=:commission,产品类型=:type where 电话号码=:key and 行号=:line"),
            bindsOf(l));
}

std::optional<int> OrderBasket::parseQuantity(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n <= 0)
        return std::nullopt;
    return n;
}

QString OrderBasket::quantityMessage(const QString& product)
{
    return product + QStringLiteral("的数量必须是大于0的整数！！");
}

Outcome OrderBasket::setQuantity(int lineNo, const QString& text, const PricingRules& rules)
{
    std::optional<BasketLine> l = line(lineNo);
    if (!l)
        return Outcome::done();
    const std::optional<int> qty = parseQuantity(text);
    if (!qty)
        return Outcome::refused(quantityMessage(l->product));
    l->quantity = QString::number(*qty);

    const Rows product = db_.select(QStringLiteral("select 业务员提成 from 产品列表 where 产品名称=:name limit 1"),
                                    {{QStringLiteral("name"), l->product}});
    if (product.isEmpty()) {
        save(*l);
        return Outcome::done();
    }
    const Money price = rules.paymentMethod == QStringLiteral("免费") ? Money() : parseMoney(l->unitPrice).value_or(Money());
    const std::optional<Money> amount = price.times(*qty);
    if (!amount)
        return Outcome::refused(kTooLarge);
    const std::optional<Money> shown = parseMoney(l->amount);
    if (!shown || *shown != *amount)
        l->amount = amount->toDisplayString();
    const Money productRate = Money::fromVariant(product.value(0, 0));
    if (const std::optional<Money> c = commission::lineCommission(rules.commissionMethod, *qty, productRate, rules.customerRate))
        l->commission = c->toDisplayString();
    save(*l);
    return Outcome::done();
}

Outcome OrderBasket::setUnitPrice(int lineNo, const QString& text)
{
    std::optional<BasketLine> l = line(lineNo);
    if (!l)
        return Outcome::done();
    const std::optional<Money> price = parseMoney(text);
    if (!price)
        return Outcome::refused(QStringLiteral("单价必须是数字！！"));
    l->unitPrice = price->toDisplayString();
    // A price typed by hand is charged as typed, whatever the payment
    // method; only the confirmation of a free order prices it at 0.
    if (const std::optional<int> qty = parseQuantity(l->quantity)) {
        const std::optional<Money> amount = price->times(*qty);
        if (!amount)
            return Outcome::refused(kTooLarge);
        l->amount = amount->toDisplayString();
    }
    save(*l);
    return Outcome::done();
}

Outcome OrderBasket::setMoney(int lineNo, const QString& text, QString BasketLine::*field, const QString& refusal)
{
    std::optional<BasketLine> l = line(lineNo);
    if (!l)
        return Outcome::done();
    const std::optional<Money> m = parseMoney(text);
    if (!m)
        return Outcome::refused(refusal);
    (*l).*field = m->toDisplayString();
    save(*l);
    return Outcome::done();
}

Outcome OrderBasket::setAmount(int lineNo, const QString& text)
{
    return setMoney(lineNo, text, &BasketLine::amount, QStringLiteral("金额必须是数字！！"));
}

Outcome OrderBasket::setCommission(int lineNo, const QString& text)
{
    return setMoney(lineNo, text, &BasketLine::commission, QStringLiteral("提成必须是数字！！"));
}

} // namespace ts
