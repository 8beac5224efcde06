#include "customers/customer_records.h"

#include "prepaid/tickets.h"
#include "storage/dates.h"
#include "storage/db.h"

#include <QDateTime>
#include <QPair>

namespace ts {

namespace {

const QString kNoName = QStringLiteral("请填写客户姓名！！");
const QString kNoAddress = QStringLiteral("请填写客户地址！！");
const QString kNoRegion = QStringLiteral("请选择区域！！");
const QString kNoPhone = QStringLiteral("请填写电话号码！！");
const QString kNoTracked = QStringLiteral("您选择了水票跟踪，但没有进行水票跟踪登记，操作被取消！！");
const QString kAddressTaken = QStringLiteral("该客户地址已经存在！！");
const QString kNoQuantity = QStringLiteral("请填写购买数量！！");
const QString kNoPaid = QStringLiteral("请填写实付金额！！");
const QString kNoRange = QStringLiteral("请填写起始号码和结束号码");
// The form's inputs only take numbers; these guard the logic itself.
const QString kBadDays = QStringLiteral("饮水机清洗频率必须是整数！！");
const QString kBadCommission = QStringLiteral("送水提成必须是数字！！");
const QString kBadQuantity = QStringLiteral("购买数量必须是整数！！");
const QString kBadAmount = QStringLiteral("金额必须是数字！！");
const QString kBadRange = QStringLiteral("起始号码和结束号码必须是整数！！");
const QString kTooManyNumbers = QStringLiteral("一次最多添加%1个水票号码，请分几次添加！！").arg(CustomerRecords::kMostTicketNumbers);
const QString kNoProduct = QStringLiteral("请选择产品！！");
const QString kBadPrice = QStringLiteral("请填写特价！！");

bool blank(const QString& s)
{
    return s.trimmed().isEmpty();
}

// An empty text is no amount; anything else must read as one.
bool optionalMoney(const QString& text, Money* out)
{
    *out = Money();
    return blank(text) || Money::parse(text.trimmed(), out);
}

const QString kAddressRule = QStringLiteral("客户资料.联系地址");
const QString kCustomerRule = QStringLiteral("客户资料");

} // namespace

const QList<QPair<QString, QString>>& CustomerRecords::renamedTables()
{
    static const QList<QPair<QString, QString>> tables = [] {
        QList<QPair<QString, QString>> t;
        const QString name = QStringLiteral("客户姓名");
        for (const char* table : {"产品销售开票", "欠桶", "出租桶", "出租桶明细", "还桶", "回收桶", "欠桶明细表",
                                  "饮水机归还明细表", "饮水机销售", "饮水机租借表", "饮水机租借明细表"})
            t.append({QString::fromUtf8(table), name});
        t.append({QStringLiteral("饮水机清洗记录表"), QStringLiteral("客户名称")});
        t.append({QStringLiteral("水票销售明细"), QStringLiteral("客户名称")});
        return t;
    }();
    return tables;
}

Outcome CustomerRecords::checkRequired(const CustomerInput& in)
{
    if (blank(in.name))
        return Outcome::refused(kNoName);
    if (blank(in.address))
        return Outcome::refused(kNoAddress);
    if (blank(in.region))
        return Outcome::refused(kNoRegion);
    if (blank(in.phone))
        return Outcome::refused(kNoPhone);
    return Outcome::done();
}

Outcome CustomerRecords::checkCustomer(const CustomerInput& in, QVariantMap* b)
{
    QVariant days;  // null: no interval
    if (!blank(in.cleaningDays)) {
        bool ok = false;
        const int n = in.cleaningDays.trimmed().toInt(&ok);
        if (!ok)
            return Outcome::refused(kBadDays);
        days = n;
    }
    QVariant commission;
    if (!blank(in.commission)) {
        Money m;
        if (!Money::parse(in.commission.trimmed(), &m))
            return Outcome::refused(kBadCommission);
        commission = m.toVariant();
    }
    *b = {{QStringLiteral("type"), in.type},
          {QStringLiteral("name"), in.name},
          {QStringLiteral("address"), in.address},
          {QStringLiteral("phone"), in.phone},
          {QStringLiteral("region"), in.region},
          {QStringLiteral("subarea"), in.subArea},
          {QStringLiteral("code"), in.code},
          {QStringLiteral("company"), in.company},
          {QStringLiteral("idnumber"), in.idNumber},
          {QStringLiteral("birthday"), in.birthday},
          {QStringLiteral("note"), in.note},
          {QStringLiteral("days"), days},
          {QStringLiteral("salesperson"), in.salesperson},
          {QStringLiteral("commission"), commission}};
    return Outcome::done();
}

Outcome CustomerRecords::create(const CustomerInput& in, const TicketSaleInput& sale, const QString& operatorName,
                                qint64* newId)
{
    if (Outcome o = checkRequired(in); !o)
        return o;
    // A ticked tracking box with no numbers is refused even when the sale box
    // was unticked afterwards: the operator meant to track and did not.
    if (sale.tracking && sale.numbers.isEmpty())
        return Outcome::refused(kNoTracked);
    QVariantMap b;
    if (Outcome o = checkCustomer(in, &b); !o)
        return o;

    b.insert(QStringLiteral("points"), in.pointsToWrite().value_or(Money()).toVariant());
    b.insert(QStringLiteral("prepaid"), Money().toVariant());
    b.insert(QStringLiteral("units"), 0);
    b.insert(QStringLiteral("orders"), 0);
    b.insert(QStringLiteral("amount"), Money().toVariant());
    qint64 id = 0;
    const Outcome o = db_.write([&] {
        // No other station checks an address between this check and the insert.
        db_.serialise(kAddressRule);
        if (!db_.scalar(QStringLiteral("select id from 客户资料 where 联系地址=:address limit 1"),
                        {{QStringLiteral("address"), in.address}})
                 .isNull())
            return Outcome::refused(kAddressTaken);
        int quantity = 0;
        Money unitPrice, due, paid;
        if (sale.sell) {
            if (blank(sale.quantity))
                return Outcome::refused(kNoQuantity);
            if (blank(sale.paid))
                return Outcome::refused(kNoPaid);
            bool ok = false;
            quantity = sale.quantity.trimmed().toInt(&ok);
            if (!ok)
                return Outcome::refused(kBadQuantity);
            if (!optionalMoney(sale.unitPrice, &unitPrice) || !optionalMoney(sale.due, &due)
                || !optionalMoney(sale.paid, &paid))
                return Outcome::refused(kBadAmount);
        }
        id = db_.insert(
            QStringLiteral("insert into 客户资料 (客户类型,客户姓名,联系地址,联系电话,客户地区,小区域,手工编码,积分,客户单位,"
                           "身份证号,生日,备用1,洗机频率,业务员,提成,预付款剩余,订水总数量,订水总次数,订水总金额) values "
                           "(:type,:name,:address,:phone,:region,:subarea,:code,:points,:company,:idnumber,:birthday,:note,"
                           ":days,:salesperson,:commission,:prepaid,:units,:orders,:amount)"),
            b);
        if (sale.sell) {
            TicketSale t;
            t.customerId = id;
            t.customerName = in.name;
            t.customerAddress = in.address;
            t.product = sale.product;
            t.quantity = quantity;
            t.unitPrice = unitPrice;
            t.due = due;
            t.paid = paid;
            t.note = sale.note;
            t.operatorName = operatorName;
            t.at = QDateTime::currentDateTime();
            t.key = tickets::newSaleKey();
            tickets::sell(db_, t);
            if (sale.tracking)
                tickets::track(db_, t, sale.numbers);
        }
        return Outcome::done();
    });
    if (o && newId)
        *newId = id;
    return o;
}

Outcome CustomerRecords::update(qint64 customerId, const QString& nameAtOpening, const CustomerInput& in)
{
    QVariantMap b;
    if (Outcome o = checkRequired(in); !o)
        return o;
    if (Outcome o = checkCustomer(in, &b); !o)
        return o;
    b.insert(QStringLiteral("id"), customerId);
    QString sql = QStringLiteral("update 客户资料 set 客户类型=:type,客户姓名=:name,联系地址=:address,联系电话=:phone,"
                                 "客户地区=:region,小区域=:subarea,手工编码=:code,客户单位=:company,身份证号=:idnumber,"
                                 "生日=:birthday,备用1=:note,洗机频率=:days,业务员=:salesperson,提成=:commission");
    if (const auto points = in.pointsToWrite()) {
        sql += QStringLiteral(",积分=:points");
        b.insert(QStringLiteral("points"), points->toVariant());
    }
    return db_.write([&] {
        // One station at a time per customer, and the customer's own row
        // first, then the copies in a fixed order: two stations renaming the
        // same customer queue up instead of deadlocking.
        db_.serialise(kCustomerRule, customerId);
        db_.run(sql + QStringLiteral(" where id=:id"), b);
        if (in.name != nameAtOpening) {
            for (const auto& [table, column] : renamedTables())
                db_.run(QStringLiteral("update %1 set %2=:name where 客户编号=:id").arg(table, column),
                        {{QStringLiteral("name"), in.name}, {QStringLiteral("id"), customerId}});
        }
        return Outcome::done();
    });
}

std::optional<CustomerInput> CustomerRecords::load(qint64 customerId)
{
    const Rows r = db_.select(QStringLiteral("select 客户类型,客户姓名,联系地址,联系电话,客户地区,小区域,手工编码,积分,"
                                             "客户单位,身份证号,生日,备用1,洗机频率,业务员,提成 from 客户资料 where id=:id"),
                              {{QStringLiteral("id"), customerId}});
    if (r.isEmpty())
        return std::nullopt;
    const auto v = [&r](int c) { return r.value(0, c); };
    CustomerInput c;
    c.type = v(0).toString();
    c.name = v(1).toString();
    c.address = v(2).toString();
    c.phone = v(3).toString();
    c.region = v(4).toString();
    c.subArea = v(5).toString();
    c.code = v(6).toString();
    c.points = Money::fromVariant(v(7)).toDisplayString();
    c.pointsAtOpening = c.points;
    c.company = v(8).toString();
    c.idNumber = v(9).toString();
    c.birthday = v(10).toString();
    c.note = v(11).toString();
    c.cleaningDays = v(12).isNull() ? QString() : QString::number(v(12).toInt());
    c.salesperson = v(13).toString();
    c.commission = v(14).isNull() ? QString() : Money::fromVariant(v(14)).toDisplayString();
    return c;
}

std::optional<Money> CustomerInput::pointsToWrite() const
{
    Money m;
    if (!mayChangePoints || points.trimmed() == pointsAtOpening.trimmed() || !Money::parse(points, &m))
        return std::nullopt;
    return m;
}

Outcome CustomerRecords::ticketNumbers(const QString& prefix, const QString& from, const QString& to,
                                       QStringList* out)
{
    out->clear();
    if (blank(from) || blank(to))
        return Outcome::refused(kNoRange);
    bool okFrom = false, okTo = false;
    const qlonglong a = from.trimmed().toLongLong(&okFrom);
    const qlonglong z = to.trimmed().toLongLong(&okTo);
    if (!okFrom || !okTo)
        return Outcome::refused(kBadRange);
    // A slip of the finger (1 to 1000000) would otherwise fill the list for
    // seconds with numbers nobody sold.
    if (z - a >= CustomerRecords::kMostTicketNumbers)
        return Outcome::refused(kTooManyNumbers);
    for (qlonglong n = a; n <= z; ++n)
        out->append(prefix + QString::number(n));
    return Outcome::done();
}

QStringList CustomerRecords::ticketKinds()
{
    return db_.select(QStringLiteral("select 商品名称 from 水票库存表")).texts(QStringLiteral("商品名称"));
}

Money CustomerRecords::ticketPrice(const QString& product)
{
    return Money::fromVariant(db_.scalar(QStringLiteral("select 水票优惠单价 from 产品列表 where 产品名称=:mc"),
                                         {{QStringLiteral("mc"), product}}));
}

Rows CustomerRecords::products()
{
    return db_.select(QStringLiteral("select 产品编号,产品名称,单价 from 产品列表 order by id"));
}

Rows CustomerRecords::specialPrices(qint64 customerId)
{
    return db_.select(QStringLiteral("select ID,产品名称,特价 from 特价表 where 客户编号=:id order by ID"),
                    {{QStringLiteral("id"), customerId}});
}

Outcome CustomerRecords::setSpecialPrice(qint64 customerId, const QString& customerName, const QString& product,
                                         const QString& price)
{
    if (blank(product))
        return Outcome::refused(kNoProduct);
    Money m;
    if (blank(price) || !Money::parse(price.trimmed(), &m))
        return Outcome::refused(kBadPrice);
    // The customer's name goes along where the table has a column for it.
    const bool withName = db_.columnNames(QStringLiteral("特价表")).contains(QStringLiteral("客户名称"));
    Binds b{{QStringLiteral("id"), customerId}, {QStringLiteral("product"), product}, {QStringLiteral("price"), m.toVariant()}};
    if (withName)
        b.insert(QStringLiteral("name"), customerName);
    return db_.write([&] {
        // "Update, else insert" with no second station inserting in between.
        db_.serialise(QStringLiteral("特价表"), customerId);
        if (db_.run(QStringLiteral("update 特价表 set 特价=:price%1 where 客户编号=:id and 产品名称=:product")
                        .arg(withName ? QStringLiteral(",客户名称=:name") : QString()),
                    b)
            == 0)
            db_.run(withName
                        ? QStringLiteral("insert into 特价表 (客户编号,产品名称,特价,客户名称) values (:id,:product,:price,:name)")
                        : QStringLiteral("insert into 特价表 (客户编号,产品名称,特价) values (:id,:product,:price)"),
                    b);
        return Outcome::done();
    });
}

void CustomerRecords::removeSpecialPrice(qint64 rowId)
{
    db_.run(QStringLiteral("delete from 特价表 where ID=:id"), {{QStringLiteral("id"), rowId}});
}

} // namespace ts
