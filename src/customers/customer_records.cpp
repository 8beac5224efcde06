#include "customers/customer_records.h"

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

QString saleKey()
{
    // Milliseconds of the clock rather than of the station's uptime, so that
    // two stations sharing the database do not hand out the same key.
    return QString::number(QDateTime::currentMSecsSinceEpoch());
}

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

    Transaction t(db_);
    // Inside the transaction: on SQLite it holds the write lock, so another
    // station cannot slip in a customer at the same address meanwhile.
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

    b.insert(QStringLiteral("points"), in.pointsToWrite().value_or(Money()).toVariant());
    b.insert(QStringLiteral("prepaid"), Money().toVariant());
    b.insert(QStringLiteral("units"), 0);
    b.insert(QStringLiteral("orders"), 0);
    b.insert(QStringLiteral("amount"), Money().toVariant());
    const qint64 id = db_.insert(
        QStringLiteral("insert into 客户资料 (客户类型,客户姓名,联系地址,联系电话,客户地区,小区域,手工编码,积分,客户单位,"
                       "身份证号,生日,备用1,洗机频率,业务员,提成,预付款剩余,订水总数量,订水总次数,订水总金额) values "
                       "(:type,:name,:address,:phone,:region,:subarea,:code,:points,:company,:idnumber,:birthday,:note,"
                       ":days,:salesperson,:commission,:prepaid,:units,:orders,:amount)"),
        b);
    if (sale.sell)
        writeTicketSale(id, in, sale, quantity, unitPrice, due, paid, operatorName);
    t.commit();
    if (newId)
        *newId = id;
    return Outcome::done();
}

void CustomerRecords::writeTicketSale(qint64 id, const CustomerInput& in, const TicketSaleInput& sale, int quantity,
                                      Money unitPrice, Money due, Money paid, const QString& operatorName)
{
    const QString key = saleKey();
    const QString today = dbDate(QDate::currentDate());
    db_.exec(QStringLiteral("insert into 水票销售明细 (客户编号,商品名称,购买数量,应付货款,实付货款,时间,客户名称,时间编号,"
                            "单价,备注,联系地址) values (:khbh,:spmc,:gmsl,:yfdk,:sfdk,:sj,:name,:key,:price,:note,"
                            ":address)"),
             {{QStringLiteral("khbh"), id},
              {QStringLiteral("spmc"), sale.product},
              {QStringLiteral("gmsl"), quantity},
              {QStringLiteral("yfdk"), due.toVariant()},
              {QStringLiteral("sfdk"), paid.toVariant()},
              {QStringLiteral("sj"), dbDateTime(QDateTime::currentDateTime())},
              {QStringLiteral("name"), in.name},
              {QStringLiteral("key"), key},
              {QStringLiteral("price"), unitPrice.toVariant()},
              {QStringLiteral("note"), sale.note},
              {QStringLiteral("address"), in.address}});

    Binds balance{{QStringLiteral("id"), id}, {QStringLiteral("product"), sale.product}, {QStringLiteral("n"), quantity}};
    QSqlQuery q = db_.exec(QStringLiteral("update 客户水票总表 set 还剩数量=coalesce(还剩数量,0)+:n "
                                          "where 客户编号=:id and 产品名称=:product"),
                           balance);
    if (q.numRowsAffected() == 0) {
        balance.insert(QStringLiteral("name"), in.name);
        db_.exec(QStringLiteral("insert into 客户水票总表 (客户编号,客户名称,产品名称,还剩数量) "
                                "values (:id,:name,:product,:n)"),
                 balance);
    }

    const Binds stock{{QStringLiteral("product"), sale.product}, {QStringLiteral("n"), quantity}};
    q = db_.exec(QStringLiteral("update 水票库存表 set 数量=coalesce(数量,0)-:n where 商品名称=:product"), stock);
    if (q.numRowsAffected() == 0)
        db_.exec(QStringLiteral("insert into 水票库存表 (商品名称,数量) values (:product,-:n)"), stock);

    db_.exec(QStringLiteral("insert into 费用登记表 (资金名称,金额,经手人,时间,资金类型,录入类型,单据编号) "
                            "values (:kind,:amount,:operator,:day,:direction,:entry,:key)"),
             {{QStringLiteral("kind"), QStringLiteral("水票销售")},
              {QStringLiteral("amount"), paid.toVariant()},
              {QStringLiteral("operator"), operatorName},
              {QStringLiteral("day"), today},
              {QStringLiteral("direction"), QStringLiteral("收入")},
              {QStringLiteral("entry"), QStringLiteral("业务生成")},
              {QStringLiteral("key"), key}});

    if (!sale.tracking)
        return;
    for (const QString& number : sale.numbers)
        db_.exec(QStringLiteral("insert into 水票跟踪 (水票号码,购买人,销售人,购买时间,购买人编号,购买人地址,销售编号) "
                                "values (:number,:name,:operator,:day,:id,:address,:key)"),
                 {{QStringLiteral("number"), number},
                  {QStringLiteral("name"), in.name},
                  {QStringLiteral("operator"), operatorName},
                  {QStringLiteral("day"), today},
                  {QStringLiteral("id"), id},
                  {QStringLiteral("address"), in.address},
                  {QStringLiteral("key"), key}});
}

Outcome CustomerRecords::update(qint64 customerId, const QString& nameAtOpening, const CustomerInput& in)
{
    QVariantMap b;
    if (Outcome o = checkRequired(in); !o)
        return o;
    if (Outcome o = checkCustomer(in, &b); !o)
        return o;
    b.insert(QStringLiteral("id"), customerId);
    Transaction t(db_);
    if (in.name != nameAtOpening) {
        for (const auto& [table, column] : renamedTables())
            db_.exec(QStringLiteral("update %1 set %2=:name where 客户编号=:id").arg(table, column),
                     {{QStringLiteral("name"), in.name}, {QStringLiteral("id"), customerId}});
    }
    QString sql = QStringLiteral("update 客户资料 set 客户类型=:type,客户姓名=:name,联系地址=:address,联系电话=:phone,"
                                 "客户地区=:region,小区域=:subarea,手工编码=:code,客户单位=:company,身份证号=:idnumber,"
                                 "生日=:birthday,备用1=:note,洗机频率=:days,业务员=:salesperson,提成=:commission");
    if (const auto points = in.pointsToWrite()) {
        sql += QStringLiteral(",积分=:points");
        b.insert(QStringLiteral("points"), points->toVariant());
    }
    db_.exec(sql + QStringLiteral(" where id=:id"), b);
    t.commit();
    return Outcome::done();
}

std::optional<CustomerInput> CustomerRecords::load(qint64 customerId)
{
    QSqlQuery q = db_.exec(QStringLiteral("select 客户类型,客户姓名,联系地址,联系电话,客户地区,小区域,手工编码,积分,"
                                          "客户单位,身份证号,生日,备用1,洗机频率,业务员,提成 from 客户资料 where id=:id"),
                           {{QStringLiteral("id"), customerId}});
    if (!q.next())
        return std::nullopt;
    CustomerInput c;
    c.type = q.value(0).toString();
    c.name = q.value(1).toString();
    c.address = q.value(2).toString();
    c.phone = q.value(3).toString();
    c.region = q.value(4).toString();
    c.subArea = q.value(5).toString();
    c.code = q.value(6).toString();
    c.points = Money::fromVariant(q.value(7)).toDisplayString();
    c.pointsAtOpening = c.points;
    c.company = q.value(8).toString();
    c.idNumber = q.value(9).toString();
    c.birthday = q.value(10).toString();
    c.note = q.value(11).toString();
    c.cleaningDays = q.value(12).isNull() ? QString() : QString::number(q.value(12).toInt());
    c.salesperson = q.value(13).toString();
    c.commission = q.value(14).isNull() ? QString() : Money::fromVariant(q.value(14)).toDisplayString();
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
    QSqlQuery q = db_.exec(QStringLiteral("select 商品名称 from 水票库存表"));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

Money CustomerRecords::ticketPrice(const QString& product)
{
    return Money::fromVariant(db_.scalar(QStringLiteral("select 水票优惠单价 from 产品列表 where 产品名称=:mc"),
                                         {{QStringLiteral("mc"), product}}));
}

QSqlQuery CustomerRecords::products()
{
    return db_.exec(QStringLiteral("select 产品编号,产品名称,单价 from 产品列表 order by id"));
}

QSqlQuery CustomerRecords::specialPrices(qint64 customerId)
{
    return db_.exec(QStringLiteral("select ID,产品名称,特价 from 特价表 where 客户编号=:id order by ID"),
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
    Transaction t(db_);
    QSqlQuery q = db_.exec(QStringLiteral("update 特价表 set 特价=:price%1 where 客户编号=:id and 产品名称=:product")
                               .arg(withName ? QStringLiteral(",客户名称=:name") : QString()),
                           b);
    if (q.numRowsAffected() == 0)
        db_.exec(withName ? QStringLiteral("insert into 特价表 (客户编号,产品名称,特价,客户名称) values (:id,:product,:price,:name)")
                          : QStringLiteral("insert into 特价表 (客户编号,产品名称,特价) values (:id,:product,:price)"),
                 b);
    t.commit();
    return Outcome::done();
}

void CustomerRecords::removeSpecialPrice(qint64 rowId)
{
    db_.exec(QStringLiteral("delete from 特价表 where ID=:id"), {{QStringLiteral("id"), rowId}});
}

} // namespace ts
