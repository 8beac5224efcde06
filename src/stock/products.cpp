#include "stock/products.h"

#include "stock/row_key.h"
#include "storage/money.h"

namespace ts {

namespace {

// A money column from an input: empty stays null, as the column was before.
bool moneyValue(const QString& text, const QString& caption, QVariant* out, QString* error)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *out = QVariant();
        return true;
    }
    Money m;
    if (!Money::parse(t, &m)) {
        *error = caption + QStringLiteral("必须填写数字！！");
        return false;
    }
    *out = m.toVariant();
    return true;
}

QString moneyText(const QVariant& v)
{
    return v.isNull() ? QString() : Money::fromVariant(v).toDisplayString();
}

const QString kNameRule = QStringLiteral("产品名称");

} // namespace

Rows ProductCatalog::list()
{
    return db_.select(QStringLiteral("select id, 产品编号, 产品类型, 产品名称, 产品单位, 单价, 进货价, 水票优惠单价, "
                                   "业务员提成 from 产品列表 order by id"));
}

std::optional<ProductInput> ProductCatalog::read(qint64 id)
{
    const Rows r = db_.select(QStringLiteral("select 产品名称, 产品单位, 单价, 业务员提成, 进货价, 水票优惠单价, 产品类型, "
                                             "产品编号 from 产品列表 where id=:id"),
                              {{QStringLiteral("id"), id}});
    if (r.isEmpty())
        return std::nullopt;
    ProductInput p;
    p.name = r.value(0, 0).toString();
    p.unit = r.value(0, 1).toString();
    p.price = moneyText(r.value(0, 2));
    p.commission = moneyText(r.value(0, 3));
    p.purchasePrice = moneyText(r.value(0, 4));
    p.ticketPrice = moneyText(r.value(0, 5));
    p.type = r.value(0, 6).toString();
    p.code = r.value(0, 7).toString();
    return p;
}

QStringList ProductCatalog::typeNames()
{
    // The same order as the type window lists them, on either engine.
    return db_.select(QStringLiteral("select 类型 from 商品类型 order by %1").arg(RowKey::order(db_))).texts(QStringLiteral("类型"));
}

Outcome ProductCatalog::check(const ProductInput& in, qint64 exceptId)
{
    if (in.code.isEmpty())
        return Outcome::refused(QStringLiteral("请填写产品自编码，方便订水时快速查询！！"));
    if (in.commission.isEmpty())
        return Outcome::refused(QStringLiteral("请填写业务员提成！！"));
    if (in.type.isEmpty())
        return Outcome::refused(QStringLiteral("请填写产品类型！！"));
    // The name is the key every other table copies: an empty or a second
    // equal name would make each later lookup by name miss or pick at random.
    const QString name = in.name.trimmed();
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请填写产品名称！！"));
    const QVariant clash = db_.scalar(QStringLiteral("select count(*) from 产品列表 where 产品名称=:name and id<>:id"),
                                      {{QStringLiteral("name"), name}, {QStringLiteral("id"), exceptId}});
    if (clash.toLongLong() > 0)
        return Outcome::refused(QStringLiteral("此产品名称已经存在！！"));
    QString error;
    binds(in, &error);
    if (!error.isEmpty())
        return Outcome::refused(error);
    return Outcome::done();
}

Binds ProductCatalog::binds(const ProductInput& in, QString* error) const
{
    Binds b{{QStringLiteral("name"), in.name.trimmed()},
            {QStringLiteral("unit"), in.unit},
            {QStringLiteral("type"), in.type},
            {QStringLiteral("code"), in.code}};
    const struct {
        const char* key;
        QString text;
        QString caption;
    } amounts[] = {
        {"price", in.price, QStringLiteral("销售单价")},
        {"commission", in.commission, QStringLiteral("送水员提成")},
        {"purchase", in.purchasePrice, QStringLiteral("进货单价")},
        {"ticket", in.ticketPrice, QStringLiteral("水票优惠单价")},
    };
    for (const auto& a : amounts) {
        QVariant v;
        if (!moneyValue(a.text, a.caption, &v, error))
            return {};
        b.insert(QString::fromLatin1(a.key), v);
    }
    return b;
}

Outcome ProductCatalog::add(const ProductInput& in, qint64* id)
{
    // The name check and the insert share one transaction, and no other
    // station checks a name between them.
    qint64 newId = 0;
    const Outcome o = db_.write([&] {
        db_.serialise(kNameRule);
        if (Outcome c = check(in); !c)
            return c;
        QString error;
        const Binds b = binds(in, &error);
        newId = db_.insert(
            QStringLiteral("insert into 产品列表 (产品编号, 产品类型, 产品名称, 产品单位, 单价, 进货价, 水票优惠单价, "
                           "业务员提成) values (:code, :type, :name, :unit, :price, :purchase, :ticket, :commission)"),
            b);
        return Outcome::done();
    });
    if (o && id)
        *id = newId;
    return o;
}

Outcome ProductCatalog::update(qint64 id, const ProductInput& in)
{
    return db_.write([&] {
        db_.serialise(kNameRule);
        if (Outcome c = check(in, id); !c)
            return c;
        QString error;
        Binds b = binds(in, &error);
        b.insert(QStringLiteral("id"), id);
        db_.run(QStringLiteral("update 产品列表 set 产品编号=:code, 产品类型=:type, 产品名称=:name, 产品单位=:unit, "
                               "单价=:price, 进货价=:purchase, 水票优惠单价=:ticket, 业务员提成=:commission where id=:id"),
                b);
        return Outcome::done();
    });
}

Outcome ProductCatalog::remove(qint64 id)
{
    return db_.write([&] {
        db_.serialise(kNameRule);
        const Binds byId{{QStringLiteral("id"), id}};
        const QVariant name = db_.scalar(QStringLiteral("select 产品名称 from 产品列表 where id=:id"), byId);
        if (name.isNull())
            return Outcome::done();  // another station deleted it already
        const Binds byName{{QStringLiteral("name"), name.toString()}};
        db_.run(QStringLiteral("delete from 库存总表 where 产品名称=:name"), byName);
        db_.run(QStringLiteral("delete from 空桶库存表 where 产品名称=:name"), byName);
        db_.run(QStringLiteral("delete from 产品列表 where id=:id"), byId);
        return Outcome::done();
    });
}

} // namespace ts
