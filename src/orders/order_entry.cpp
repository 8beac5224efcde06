#include "orders/order_entry.h"

#include "customers/customer_list.h"
#include "customers/customer_search_index.h"
#include "orders/commission_rules.h"
#include "orders/document_numbers.h"
#include "orders/order_events.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "stock/stock_totals.h"
#include "storage/dates.h"
#include "storage/db.h"

#include <map>
#include <vector>

namespace ts {

namespace {

const QString kPrepaid = QStringLiteral("预付款");
const QString kFree = QStringLiteral("免费");

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A quantity, a price or an amount as the basket holds it.
Money moneyOf(const QString& text)
{
    Money m;
    return Money::parse(text.trimmed(), &m) ? m : Money();
}

QVariant nullIfEmpty(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// A line of the basket as the confirmation writes it.
struct OrderLine {
    QString product;
    QString productType;
    int quantity = 0;
    Money unitPrice;
    Money amount;
    std::optional<Money> commission;
    std::optional<stock::Taken> stock;
};

// The customer's own columns as the form shows them, for his insert or update.
Binds identityOf(const OrderDraft& d)
{
    return {{QStringLiteral("name"), d.name},         {QStringLiteral("phone"), d.phone},
            {QStringLiteral("address"), d.address},   {QStringLiteral("code"), d.code},
            {QStringLiteral("type"), d.customerType}, {QStringLiteral("company"), d.company},
            {QStringLiteral("district"), d.district}, {QStringLiteral("sub"), d.subDistrict},
            {QStringLiteral("remark"), d.remark}};
}

// A new customer with the running totals he starts with; the id from the insert.
qint64 insertCustomer(Db& db, const OrderDraft& d, Money rate, qint64 units, Money total, int orders, Money spent,
                      const QVariant& lastOrder)
{
    Binds b = identityOf(d);
    b.insert(QStringLiteral("rate"), rate.toVariant());
    b.insert(QStringLiteral("units"), units);
    b.insert(QStringLiteral("total"), total.toVariant());
    b.insert(QStringLiteral("orders"), orders);
    b.insert(QStringLiteral("points"), spent.toVariant());
    b.insert(QStringLiteral("balance"), (-spent).toVariant());
    b.insert(QStringLiteral("last"), lastOrder);
    return db.insert(QStringLiteral("insert into 客户资料 (客户姓名,联系电话,联系地址,手工编码,客户类型,客户单位,客户地区,小区域,"
                                    "备用1,订水总数量,订水总金额,订水总次数,提成,积分,预付款剩余,最后订水时间) values (:name,"
                                    ":phone,:address,:code,:type,:company,:district,:sub,:remark,:units,:total,:orders,:rate,"
                                    ":points,:balance,:last)"),
                     b);
}

} // namespace

const QStringList& OrderEntry::paymentMethods()
{
    static const QStringList methods{str("现金"), str("水票"), str("签单"), kFree, str("水卡"), kPrepaid};
    return methods;
}

QStringList OrderEntry::workers()
{
    return QStringList{kNoWorker} + db_.select(QStringLiteral("select 姓名 from 员工列表")).texts(0);
}

QStringList OrderEntry::customerNames()
{
    QStringList names{QString()};
    for (const QString& n : db_.select(QStringLiteral("select 客户姓名 from 客户资料")).texts(0))
        names << n.trimmed();
    return names;
}

QStringList OrderEntry::warehouses()
{
    return db_.select(QStringLiteral("select 库房名称 from 库房名称 order by id")).texts(0);
}

QStringList OrderEntry::districts()
{
    return CustomerList(db_).regions();
}

QStringList OrderEntry::subDistricts(const QString& district)
{
    return QStringList{QString()} + CustomerList(db_).subAreas(district);
}

QStringList OrderEntry::customerTypes()
{
    return CustomerList(db_).types();
}

Rows OrderEntry::products()
{
    return db_.select(QStringLiteral("select 产品名称,单价,产品类型,业务员提成 from 产品列表 order by id"));
}

std::optional<CustomerView> OrderEntry::load(qint64 customerId)
{
    CustomerView v;
    v.row = CustomerList(db_).customer(customerId);
    if (v.row.isEmpty())
        return std::nullopt;
    v.id = customerId;
    v.prepayment = Money::fromVariant(v.row.value(QStringLiteral("预付款剩余")));
    v.commissionRate = Money::fromVariant(v.row.value(QStringLiteral("提成")));
    const Binds id{{QStringLiteral("id"), customerId}};

    v.owedBuckets = int(db_.scalar(QStringLiteral("select sum(未还数量) from 欠桶 where 客户编号=:id"), id).toLongLong());
    const Rows dispensers =
        db_.select(QStringLiteral("select sum(数量) as sl, sum(租金) as cc from 饮水机租借表 where 客户编号=:id"), id);
    if (Money::fromVariant(dispensers.value(0, QStringLiteral("sl"))).isZero())
        v.dispenser = str("无");
    else
        v.dispenser = Money::fromVariant(dispensers.value(0, QStringLiteral("cc"))).isZero() ? str("借用") : str("出租");
    v.iou = Money::fromVariant(db_.scalar(QStringLiteral("select sum(签单数) from 产品销售开票 "
                                                         "where 客户编号=:id and 收款方式=:way"),
                                          {{QStringLiteral("id"), customerId}, {QStringLiteral("way"), str("签单")}}))
                .toDisplayString();
    v.deposit = Money::fromVariant(db_.scalar(QStringLiteral("select sum(收取押金) from 出租桶 where 客户编号=:id"), id));
    v.lastProduct = db_.scalar(QStringLiteral("select 产品名称 from 产品销售开票 where 客户编号=:id "
                                              "order by id desc limit 1"),
                               id)
                        .toString();
    v.tickets = db_.select(QStringLiteral("select 产品名称,还剩数量 from 客户水票总表 where 客户编号=:id"), id);

    v.paymentMethod = str("现金");
    if (v.prepayment > Money())
        v.paymentMethod = kPrepaid;
    if (!v.tickets.isEmpty())
        v.paymentMethod = str("水票");
    return v;
}

CustomerSearch OrderEntry::search(CustomerField field, const QString& typed)
{
    static const std::map<CustomerField, std::pair<const char*, const char*>> kFields{
        {CustomerField::Telephone, {"联系电话", "没有找到该电话号码，自动识别为新客户，如果您认为是老客户，请重新选择"}},
        {CustomerField::Name, {"客户姓名", "没有找到该客户姓名，自动识别为新客户，如果您认为是老客户，请重新选择"}},
        {CustomerField::Code, {"手工编码", "没有找到该手工编码，自动识别为新客户，如果您认为是老客户，请重新选择"}},
    };
    const auto& [column, notFound] = kFields.at(field);
    ContainsSearch contains(db_.engine());
    contains.add(str(column), QStringLiteral("typed"), typed);
    // Two ids are enough to know the search was not precise.
    const Rows r = db_.select(QStringLiteral("select id from 客户资料 where 1=1") + contains.conditions()
                                  + QStringLiteral(" order by id limit 2"),
                              contains.binds());
    CustomerSearch s;
    if (r.isEmpty()) {
        s.message = str(notFound);
        return s;
    }
    if (r.size() > 1) {
        s.found = CustomerSearch::Found::Several;
        s.message = field == CustomerField::Telephone
                        ? str("找到的客户数量不唯一！！")
                        : str("对不起，您设置的搜索条件太简单，找到的客户数量不唯一，无法进行准确的客户定位！！");
        return s;
    }
    const std::optional<CustomerView> v = load(r.value(0, 0).toLongLong());
    if (!v) {
        s.message = str(notFound);
        return s;
    }
    s.found = CustomerSearch::Found::One;
    s.customer = *v;
    return s;
}

Outcome OrderEntry::checkChosenName(const QString& name)
{
    if (name.trimmed().isEmpty())
        return Outcome::refused(str("不能选择空客户姓名，自动识别为新客户，如果您认为是老客户，请重新选择"));
    return Outcome::done();
}

std::optional<CustomerView> OrderEntry::byExactName(const QString& name)
{
    const QVariant id = db_.scalar(QStringLiteral("select id from 客户资料 where 客户姓名=:name order by id limit 1"),
                                   {{QStringLiteral("name"), name}});
    if (id.isNull())
        return std::nullopt;
    return load(id.toLongLong());
}

Outcome OrderEntry::addLine(OrderBasket& basket, const QString& product, qint64 customerId,
                            const QString& customerType, const QString& paymentMethod, Money* customerRate,
                            bool specialPrice)
{
    const Rows p = db_.select(QStringLiteral("select 单价,产品类型,业务员提成 from 产品列表 where 产品名称=:name limit 1"),
                              {{QStringLiteral("name"), product}});
    if (p.isEmpty())
        return Outcome::refused(str("该产品已不在商品资料中，请重新选择！！"));
    Money price = Money::fromVariant(p.value(0, QStringLiteral("单价")));
    if (customerId != 0) {
        if (specialPrice) {
            const Rows special = db_.select(QStringLiteral("select 特价 from 特价表 where 客户编号=:id and 产品名称=:name"),
                                            {{QStringLiteral("id"), customerId}, {QStringLiteral("name"), product}});
            if (!special.isEmpty())
                price = Money::fromVariant(special.value(0, 0));
        }
    } else if (login_.commissionMethod == commission::kByCustomerType && customerRate) {
        *customerRate = commission::customerTypeRate(db_, customerType);
    }
    if (paymentMethod == kFree)
        price = Money();
    const std::optional<Money> c =
        commission::lineCommission(login_.commissionMethod, 1, Money::fromVariant(p.value(0, QStringLiteral("业务员提成"))),
                                   customerRate ? *customerRate : Money());
    basket.add(product, price, c, p.text(0, QStringLiteral("产品类型")));
    return Outcome::done();
}

Outcome OrderEntry::addProduct(OrderBasket& basket, const QString& product, qint64 customerId,
                               const QString& customerType, const QString& paymentMethod, Money* customerRate)
{
    return addLine(basket, product, customerId, customerType, paymentMethod, customerRate, true);
}

Outcome OrderEntry::addLastProduct(OrderBasket& basket, const QString& product, qint64 customerId,
                                   const QString& customerType, const QString& paymentMethod, Money* customerRate)
{
    const Outcome o = addLine(basket, product, customerId, customerType, paymentMethod, customerRate, false);
    // A last product that has left the product list adds nothing, silently.
    return o ? o : Outcome::done();
}

QString OrderEntry::smsText(const OrderDraft& d, const QList<BasketLine>& lines)
{
    QString text = d.name + QLatin1Char('/') + d.phone + QLatin1Char('/') + d.address + QLatin1Char('[');
    for (const BasketLine& l : lines) {
        if (l.product.isEmpty())
            break;
        text += l.product + QLatin1Char(':') + l.quantity;
    }
    const QString tail = db_.scalar(QStringLiteral("select 短信尾 from 短信帐户 limit 1")).toString();
    return text + QLatin1Char(']') + d.code + QLatin1Char('/') + tail;
}

Confirmation OrderEntry::confirm(const OrderDraft& draft)
{
    const Confirmation c = db_.write([&] { return confirmOnce(draft); });
    if (c.outcome)
        OrderEvents::announce();
    return c;
}

Confirmation OrderEntry::confirmOnce(const OrderDraft& in)
{
    db_.requireTransaction("OrderEntry::confirm");
    Confirmation result;
    auto refuse = [&](const QString& message) {
        result.outcome = Outcome::refused(message);
        return result;
    };
    OrderDraft d = in;
    if (d.name.isEmpty())
        d.name = QStringLiteral(" ");
    result.name = d.name;
    const bool free = d.paymentMethod == kFree;
    const bool prepaid = d.paymentMethod == kPrepaid;

    if (d.smsToWorker && (d.worker.isEmpty() || d.worker == kNoWorker))
        return refuse(str("发送短信必须选择配送工！！"));

    // The lines as they will be written: up to the first without a product.
    OrderBasket basket(db_, d.basketKey);
    std::vector<OrderLine> lines;
    std::optional<QString> badQuantity;
    for (const BasketLine& b : basket.lines()) {
        if (b.product.isEmpty())
            break;
        OrderLine l;
        l.product = b.product;
        l.productType = b.productType;
        const std::optional<int> qty = OrderBasket::parseQuantity(b.quantity);
        if (!qty && !badQuantity)
            badQuantity = OrderBasket::quantityMessage(b.product);
        l.quantity = qty.value_or(0);
        // A free order asks no money for any line, however the line was
        // priced while it was composed.
        l.unitPrice = free ? Money() : moneyOf(b.unitPrice);
        l.amount = free ? Money() : moneyOf(b.amount);
        if (!b.commission.trimmed().isEmpty())
            l.commission = moneyOf(b.commission);
        lines.push_back(l);
    }
    Money total;
    qint64 units = 0;
    for (const OrderLine& l : lines) {
        total += l.amount;
        units += l.quantity;
    }

    // The balance of the database, not the one the form showed when the
    // customer was loaded: another window may have spent it since.
    if (prepaid) {
        const Money balance =
            d.customerId == 0
                ? Money()
                : Money::fromVariant(db_.scalar(QStringLiteral("select 预付款剩余 from 客户资料 where id=:id"),
                                                {{QStringLiteral("id"), d.customerId}}));
        if (total > balance)
            return refuse(str("预付款金额不足，请采取其他方式支付！！"));
    }
    if (d.worker.isEmpty() && !d.customerCollects)
        return refuse(str("请选择配送工！！"));
    if (d.address.trimmed().isEmpty())
        return refuse(str("请填写客户地址！！"));
    if (d.warehouse.trimmed().isEmpty())
        return refuse(str("请填写库房名称！！"));
    if (lines.empty())
        return refuse(str("请输入订水内容！！"));
    if (badQuantity)
        return refuse(*badQuantity);

    // Stock: one update per product for all its lines together, so that two
    // lines cannot pass the check apart beyond what is there, and in the
    // order of the names, so that two orders never wait for each other's
    // rows the other way round.
    const bool checkStock = login_.stockWarning.isEmpty() || login_.stockWarning == str("提示");
    std::map<QString, int> perProduct;
    for (const OrderLine& l : lines)
        perProduct[l.product] += l.quantity;
    std::map<QString, stock::Taken> taken;
    for (const auto& [product, n] : perProduct)
        taken[product] = stock::take(db_, d.warehouse, product, n, checkStock);
    if (checkStock) {
        for (const OrderLine& l : lines) {
            const stock::Taken& t = taken.at(l.product);
            if (!t.found)
                return refuse(l.product + str("在") + d.warehouse + str("没有货了"));
            if (!t.enough)
                return refuse(l.product + str("在") + d.warehouse + str("订水数量大于库存数量"));
        }
    }
    // Each line sees the stock as the lines before it left it.
    std::map<QString, int> running;
    for (OrderLine& l : lines) {
        const stock::Taken& t = taken.at(l.product);
        if (!t.found) {
            result.outcome.notices << str("没有找到对应的产品名称和库房名称");
            continue;
        }
        auto [it, first] = running.try_emplace(l.product, t.before);
        stock::Taken line = t;
        line.before = it->second;
        line.after = it->second - l.quantity;
        it->second = line.after;
        l.stock = line;
    }

    const QDateTime now = clock::now();
    const QDate orderDate = d.booked ? d.bookingDate : now.date();
    result.documentNumber = documents::next(db_, orderDate);
    const QString entryTime = dbDateTime(now);

    QVariant daysSinceLast;
    const Money spent = prepaid ? total : Money();
    if (d.customerId == 0) {
        result.customerId = insertCustomer(db_, d, d.commissionRate, units, total, 1, spent, dbDate(now.date()));
    } else {
        result.customerId = d.customerId;
        const QString last =
            dateText(db_.scalar(QStringLiteral("select 最后订水时间 from 客户资料 where id=:id"), {{QStringLiteral("id"), d.customerId}}));
        if (!last.isEmpty()) {
            const QDateTime lastAt = parseDateText(last);
            if (lastAt.isValid())
                daysSinceLast = qint64(lastAt.secsTo(now) / 86400);
        }
        // Totals and balance move by what this order adds, never by writing
        // back what was read; the balance only while it covers a prepaid
        // order (a balance below zero, left by a negative advance payment,
        // stops no order paid another way). SQLite keeps money as binary
        // fractions: each sum is rounded back to four decimals, so that a
        // balance of 20.30 left by earlier orders covers an order of 20.30.
        const int changed = db_.run(
            QStringLiteral("update 客户资料 set 备用1=:remark,联系电话=:phone,联系地址=:address,客户类型=:type,"
                           "客户地区=:district,小区域=:sub,客户姓名=:name,手工编码=:code,客户单位=:company,"
                           "订水总数量=coalesce(订水总数量,0)+:units,订水总金额=round(coalesce(订水总金额,0)+:total,4),"
                           "订水总次数=coalesce(订水总次数,0)+1,预付款剩余=round(coalesce(预付款剩余,0)-:spent,4),"
                           "提成=:rate,积分=round(coalesce(积分,0)+:spent,4),最后订水时间=:today where id=:id")
                + (prepaid ? QStringLiteral(" and round(coalesce(预付款剩余,0),4)>=:spent") : QString()),
            [&] {
                Binds b = identityOf(d);
                b.insert(QStringLiteral("units"), units);
                b.insert(QStringLiteral("total"), total.toVariant());
                b.insert(QStringLiteral("spent"), spent.toVariant());
                b.insert(QStringLiteral("rate"), d.commissionRate.toVariant());
                b.insert(QStringLiteral("today"), dbDate(now.date()));
                b.insert(QStringLiteral("id"), d.customerId);
                return b;
            }());
        if (changed == 0) {
            const bool exists = !db_.scalar(QStringLiteral("select id from 客户资料 where id=:id"),
                                            {{QStringLiteral("id"), d.customerId}})
                                     .isNull();
            return refuse(exists ? str("预付款金额不足，请采取其他方式支付！！")
                                 : str("该客户资料已被删除，请重新查询客户！！"));
        }
    }

    // A prepaid or free order settles the worker's commission now, and only a
    // worker who earns it on such orders keeps it.
    QString workerFlag;
    if (prepaid || free) {
        const Rows w = db_.select(QStringLiteral("select 配送提成 from 员工列表 where 姓名=:name"),
                                  {{QStringLiteral("name"), d.worker}});
        if (!w.isEmpty())
            workerFlag = w.text(0, QStringLiteral("配送提成"));
    }
    const bool keepsCommission = commission::keepsCommissionAtEntry(d.customerCollects, d.paymentMethod, workerFlag);
    const QString worker = d.customerCollects ? QString() : d.worker;

    for (const OrderLine& l : lines) {
        QVariant lineCommission;
        if (!keepsCommission)
            lineCommission = Money().toVariant();
        else if (l.commission)
            lineCommission = l.commission->toVariant();
        db_.run(QStringLiteral(
                    "insert into 产品销售开票 (单据编号,购物日期,产品名称,数量,应付货款,配送工,客户编号,提成,欠款,区域,地址,"
                    "电话,时间,收款方式,客户姓名,小区域,销售单价,已发数量,发货完毕,售前库存,售后库存,是否预约,预约时间,"
                    "发货备注,交款完毕,手工编号,操作员,单位,发货时间,录音文件,回单登记,客户类型,库房名称,订水间隔天数,"
                    "产品类型) values (:doc,:day,:product,:qty,:due,:worker,:customer,:commission,:owed,:district,"
                    ":address,:phone,:at,:way,:name,:sub,:price,:sent,:delivered,:before,:after,:booked,:bookedAt,"
                    ":remark,:paid,:code,:operator,:company,:deliveredAt,:recording,:slip,:type,:warehouse,:days,"
                    ":productType)"),
                {{QStringLiteral("doc"), result.documentNumber},
                 {QStringLiteral("day"), dbDate(orderDate)},
                 {QStringLiteral("product"), l.product},
                 {QStringLiteral("qty"), l.quantity},
                 {QStringLiteral("due"), l.amount.toVariant()},
                 {QStringLiteral("worker"), worker},
                 {QStringLiteral("customer"), result.customerId},
                 {QStringLiteral("commission"), lineCommission},
                 {QStringLiteral("owed"), l.amount.toVariant()},
                 {QStringLiteral("district"), d.district},
                 {QStringLiteral("address"), d.address},
                 {QStringLiteral("phone"), d.phone},
                 {QStringLiteral("at"), entryTime},
                 {QStringLiteral("way"), d.paymentMethod},
                 {QStringLiteral("name"), d.name},
                 {QStringLiteral("sub"), d.subDistrict},
                 {QStringLiteral("price"), l.unitPrice.toVariant()},
                 {QStringLiteral("sent"), d.customerCollects ? l.quantity : 0},
                 {QStringLiteral("delivered"), d.customerCollects},
                 {QStringLiteral("before"), l.stock ? QVariant(l.stock->before) : QVariant()},
                 {QStringLiteral("after"), l.stock ? QVariant(l.stock->after) : QVariant()},
                 {QStringLiteral("booked"), d.booked},
                 {QStringLiteral("bookedAt"),
                  d.booked ? QVariant(dbDate(d.bookingDate) + QLatin1Char(' ') + d.bookingTime.toString(QStringLiteral("hh:mm:ss")))
                           : QVariant()},
                 {QStringLiteral("remark"), d.deliveryRemark},
                 {QStringLiteral("paid"), prepaid || free},
                 {QStringLiteral("code"), d.code},
                 {QStringLiteral("operator"), login_.operatorName},
                 {QStringLiteral("company"), d.company},
                 {QStringLiteral("deliveredAt"), d.customerCollects ? entryTime : QString(QLatin1String(""))},
                 {QStringLiteral("recording"), nullIfEmpty(d.recordingFile)},
                 {QStringLiteral("slip"), prepaid || free ? QVariant(str("否")) : QVariant()},
                 {QStringLiteral("type"), d.customerType},
                 {QStringLiteral("warehouse"), d.warehouse},
                 {QStringLiteral("days"), daysSinceLast},
                 {QStringLiteral("productType"), l.productType}});
    }

    if (d.smsToWorker) {
        const Rows w = db_.select(QStringLiteral("select 电话 from 员工列表 where 姓名=:name"),
                                  {{QStringLiteral("name"), d.worker}});
        if (!w.isEmpty()) {
            QList<BasketLine> written;
            for (const OrderLine& l : lines) {
                BasketLine b;
                b.product = l.product;
                b.quantity = QString::number(l.quantity);
                written << b;
            }
            db_.run(QStringLiteral("insert into fasongneirong (neirong,shouji,xingming,fssj,fasongwanbi) "
                                   "values (:text,:phone,:name,:sent,:done)"),
                    {{QStringLiteral("text"), smsText(d, written)},
                     {QStringLiteral("phone"), w.text(0, QStringLiteral("电话"))},
                     {QStringLiteral("name"), d.worker},
                     {QStringLiteral("sent"), QString(QLatin1String(""))},
                     {QStringLiteral("done"), false}});
        }
    }

    if (d.booked && d.bookingNotice && d.bookingDate != now.date()) {
        const QString sep = login_.dateSeparator.isEmpty() ? QStringLiteral("-") : login_.dateSeparator;
        result.outcome.notices << str("由于预约日期不是今天，此订水记录要在")
                                      + d.bookingDate.toString(QStringLiteral("yyyy") + sep + QStringLiteral("MM") + sep
                                                               + QStringLiteral("dd"))
                                      + str("发货记录上才能看到，或者在预约记录上可以查询到。");
    }
    return result;
}

Outcome OrderEntry::saveNewCustomer(const OrderDraft& d, const NewCustomerRules& rules, qint64* id)
{
    if (rules.requirePhone && d.phone.isEmpty())
        return Outcome::refused(str("请输入客户联系电话"));
    Money rate = d.commissionRate;
    if (rules.rateFromType) {
        rate = login_.commissionMethod == commission::kByCustomerType ? commission::customerTypeRate(db_, d.customerType)
                                                                      : Money();
    }
    const qint64 newId = db_.write([&] { return insertCustomer(db_, d, rate, 0, Money(), 0, Money(), QVariant()); });
    if (id)
        *id = newId;
    return Outcome::done(str("保存成功"));
}

qint64 OrderEntry::logCall(const QString& phone, const QDateTime& at, const QString& name, const QString& customerId,
                           const QString& address)
{
    return db_.write([&] {
        return db_.insert(QStringLiteral("insert into 来电历史记录表 (电话号码,来电时间,客户名称,客户编号,联系地址,处理结果) "
                                         "values (:phone,:at,:name,:customer,:address,:result)"),
                          {{QStringLiteral("phone"), phone},
                           {QStringLiteral("at"), dbDateTime(at)},
                           {QStringLiteral("name"), name},
                           {QStringLiteral("customer"), customerId},
                           {QStringLiteral("address"), address},
                           {QStringLiteral("result"), str("直接关闭")}},
                          QStringLiteral("编号"));
    });
}

void OrderEntry::markCallOrdered(qint64 callRow, const QString& documentNumber, const QString& recordingFile)
{
    db_.run(QStringLiteral("update 来电历史记录表 set 处理结果=:result,订单编号=coalesce(:doc,订单编号),"
                           "录音文件=coalesce(:recording,录音文件) where 编号=:id"),
            {{QStringLiteral("result"), str("订水")},
             {QStringLiteral("doc"), nullIfEmpty(documentNumber)},
             {QStringLiteral("recording"), nullIfEmpty(recordingFile)},
             {QStringLiteral("id"), callRow}});
}

} // namespace ts
