#include "station_generator.h"

#include "storage/money.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <array>
#include <cmath>
#include <vector>

namespace ts::bench {

namespace {

// splitmix64: the same numbers on every platform and library, which the
// standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    double unit() { return double(next() >> 11) / double(1ull << 53); }
    bool chance(double p) { return unit() < p; }
    template <class T, std::size_t N>
    const T& pick(const std::array<T, N>& a) { return a[std::size_t(below(int(N)))]; }
    QString digits(int n)
    {
        QString s;
        s.reserve(n);
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + below(10));
        return s;
    }

private:
    std::uint64_t state_;
};

QString u8(const char* s) { return QString::fromUtf8(s); }

const std::array<const char*, 10> kDistricts = {"朝阳区", "海淀区", "东城区", "西城区", "丰台区",
                                                "石景山区", "通州区", "昌平区", "大兴区", "顺义区"};
const std::array<const char*, 10> kDistrictCodes = {"CY", "HD", "DC", "XC", "FT", "SJ", "TZ", "CP", "DX", "SY"};
const std::array<const char*, 16> kAreaHeads = {"阳光", "望京", "金色", "幸福", "翠微", "紫竹", "碧水", "东方",
                                                "和平", "锦绣", "华远", "康乐", "怡景", "丽都", "天通", "龙湖"};
const std::array<const char*, 8> kAreaTails = {"花园", "小区", "家园", "公寓", "新村", "嘉园", "名苑", "里"};
const std::array<const char*, 24> kRoads = {"建国路", "长安街", "中关村大街", "学院路", "复兴路", "朝阳北路",
                                            "东三环中路", "西直门外大街", "望京西路", "安立路", "广渠路", "丰台北路",
                                            "石景山路", "新华大街", "回龙观西大街", "黄村西大街", "府前街", "光华路",
                                            "知春路", "花园路", "北苑路", "马甸东路", "南礼士路", "劲松路"};
const std::array<const char*, 30> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴",
                                               "徐", "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗",
                                               "梁", "宋", "郑", "谢", "韩", "唐", "冯", "于", "董", "萧"};
const std::array<const char*, 48> kGiven = {"伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊", "军", "洋", "勇",
                                            "艳", "杰", "娟", "涛", "明", "超", "秀兰", "霞", "平", "刚", "桂英", "华",
                                            "建国", "建华", "志强", "海燕", "晓东", "文", "斌", "玉兰", "丹", "萍",
                                            "鹏", "宇", "浩", "凯", "婷", "雪", "琳", "欣", "子涵", "一鸣", "思远",
                                            "国庆", "春梅", "三丰"};
const std::array<const char*, 12> kCompanyHeads = {"华信", "中科", "东方", "远洋", "百合", "鑫达", "宏图", "恒通",
                                                   "博雅", "新星", "金桥", "天成"};
const std::array<const char*, 6> kCompanyTails = {"科技有限公司", "贸易公司", "设计院", "律师事务所", "中学",
                                                  "连锁超市"};

struct Type {
    const char* name;
    int commissionFen;
};
const std::array<Type, 5> kTypes = {{{"家庭", 100}, {"单位", 150}, {"商铺", 120}, {"学校", 80}, {"酒店", 100}}};

struct Product {
    const char* code;
    const char* type;
    const char* name;
    const char* unit;
    int priceYuan;
    int ticketPriceYuan;
    bool bucket;
};
const std::array<Product, 7> kProducts = {{
    {"P001", "水", "纯净水18.9L", "桶", 12, 10, true},
    {"P002", "水", "矿泉水18.9L", "桶", 18, 15, true},
    {"P003", "水", "山泉水18.9L", "桶", 15, 13, true},
    {"P004", "水", "天然水11.3L", "桶", 10, 8, true},
    {"P005", "水", "纯净水550ml", "箱", 24, 24, false},
    {"P006", "水", "矿泉水350ml", "箱", 30, 30, false},
    {"P007", "饮水机", "立式温热饮水机", "台", 298, 298, false},
}};

const std::array<const char*, 20> kWorkers = {"张师傅", "李师傅", "王师傅", "赵师傅", "刘师傅", "陈师傅", "杨师傅",
                                              "周师傅", "吴师傅", "孙师傅", "马师傅", "郭师傅", "何师傅", "高师傅",
                                              "罗师傅", "梁师傅", "宋师傅", "谢师傅", "韩师傅", "唐师傅"};
const std::array<const char*, 6> kSalespeople = {"钱经理", "冯经理", "董经理", "萧经理", "于经理", "曹经理"};

struct Customer {
    QString name, phone, region, subArea, address, company, type, code, salesperson;
    int commissionFen = 0;
    qint64 units = 0;     // 订水总数量
    qint64 moneyUnits = 0;  // 订水总金额 in ten-thousandths
    qint64 orders = 0;
    QDate lastOrder;
};

// Rows go out many at a time through one prepared statement per batch size:
// a round trip per row would make the PostgreSQL half take an hour.
class BatchInsert {
public:
    BatchInsert(Db& db, const QString& table, const QStringList& columns, int rowsPerStatement)
        : db_(db), table_(table), columns_(columns), perStatement_(rowsPerStatement)
    {
    }

    void add(QVariantList row)
    {
        for (QVariant& v : row)
            pending_ << engineValue(v);
        if (pending_.size() >= columns_.size() * perStatement_)
            flush();
    }

    void flush()
    {
        const int rows = int(pending_.size() / columns_.size());
        if (rows == 0)
            return;
        QSqlQuery& q = rows == perStatement_ ? full_ : partial_;
        if (rows != preparedRows(q)) {
            q = QSqlQuery(db_.handle());
            const QString one = QLatin1Char('(') + QStringList(columns_.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
            const QString sql = QStringLiteral("insert into %1 (%2) values ").arg(table_, columns_.join(QLatin1Char(',')))
                                + QStringList(rows, one).join(QLatin1Char(','));
            if (!q.prepare(sql))
                throw DbError(q.lastError().text(), sql);
            (rows == perStatement_ ? fullRows_ : partialRows_) = rows;
        }
        for (int i = 0; i < pending_.size(); ++i)
            q.bindValue(i, pending_.at(i));
        if (!q.exec())
            throw DbError(q.lastError().text(), q.lastQuery());
        pending_.clear();
    }

private:
    int preparedRows(const QSqlQuery& q) const { return &q == &full_ ? fullRows_ : partialRows_; }
    QVariant engineValue(const QVariant& v) const
    {
        if (v.metaType() != QMetaType::fromType<Money>())
            return v;
        const Money m = v.value<Money>();
        return db_.engine() == Engine::Postgres ? QVariant(m.toDecimalString()) : QVariant(m.toDouble());
    }

    Db& db_;
    QString table_;
    QStringList columns_;
    int perStatement_;
    QVariantList pending_;
    QSqlQuery full_;
    QSqlQuery partial_;
    int fullRows_ = 0;
    int partialRows_ = 0;
};

QStringList cols(const char* list) { return u8(list).split(QLatin1Char(',')); }

Money yuanFen(qint64 fen) { return Money::fromUnits(fen * 100); }

} // namespace

GeneratedCounts generateStation(Db& db, const StationSize& size, const std::function<void(const QString&)>& progress)
{
    Random rnd(size.seed);
    GeneratedCounts counts;
    if (db.engine() == Engine::Sqlite)
        db.exec(QStringLiteral("pragma synchronous=off"));

    // ---- small tables ----
    std::vector<std::vector<QString>> areas(kDistricts.size());
    {
        Transaction tx(db);
        for (std::size_t d = 0; d < kDistricts.size(); ++d) {
            db.exec(QStringLiteral("insert into 区域 (区域) values (:r)"), {{QStringLiteral("r"), u8(kDistricts[d])}});
            for (int a = 0; a < 8; ++a) {
                const QString area = u8(kAreaHeads[(d * 5 + std::size_t(a) * 3) % kAreaHeads.size()])
                                     + u8(kAreaTails[(d + std::size_t(a)) % kAreaTails.size()]);
                areas[d].push_back(area);
                db.exec(QStringLiteral("insert into 小区域 (区域,小区域) values (:r,:a)"),
                        {{QStringLiteral("r"), u8(kDistricts[d])}, {QStringLiteral("a"), area}});
            }
        }
        for (const Type& t : kTypes)
            db.exec(QStringLiteral("insert into 客户类型 (客户类型,提成) values (:t,:c)"),
                    {{QStringLiteral("t"), u8(t.name)}, {QStringLiteral("c"), QVariant::fromValue(yuanFen(t.commissionFen))}});
        db.exec(QStringLiteral("insert into 库房名称 (库房名称) values ('总库')"));
        for (const Product& p : kProducts) {
            db.exec(QStringLiteral("insert into 产品列表 (产品编号,产品类型,产品名称,产品单位,单价,进货价,水票优惠单价,业务员提成) "
                                   "values (:c,:t,:n,:u,:p,:b,:tp,:s)"),
                    {{QStringLiteral("c"), u8(p.code)}, {QStringLiteral("t"), u8(p.type)}, {QStringLiteral("n"), u8(p.name)},
                     {QStringLiteral("u"), u8(p.unit)}, {QStringLiteral("p"), QVariant::fromValue(Money::yuan(p.priceYuan))},
                     {QStringLiteral("b"), QVariant::fromValue(Money::yuan(p.priceYuan / 2))},
                     {QStringLiteral("tp"), QVariant::fromValue(Money::yuan(p.ticketPriceYuan))},
                     {QStringLiteral("s"), QVariant::fromValue(yuanFen(50))}});
            db.exec(QStringLiteral("insert into 库存总表 (库房名称,产品名称,单价,数量) values ('总库',:n,:p,:q)"),
                    {{QStringLiteral("n"), u8(p.name)}, {QStringLiteral("p"), QVariant::fromValue(Money::yuan(p.priceYuan))},
                     {QStringLiteral("q"), 5000}});
        }
        for (const char* w : kWorkers)
            db.exec(QStringLiteral("insert into 员工列表 (姓名,电话,所用车辆,配送提成) values (:n,:p,'三轮车','是')"),
                    {{QStringLiteral("n"), u8(w)}, {QStringLiteral("p"), QStringLiteral("139") + rnd.digits(8)}});
        for (const char* s : kSalespeople)
            db.exec(QStringLiteral("insert into 业务员表 (姓名) values (:n)"), {{QStringLiteral("n"), u8(s)}});
        tx.commit();
    }

    // ---- customers, kept in memory until their totals are known ----
    std::vector<Customer> customers(std::size_t(std::max(0, size.customers)));
    std::array<int, kDistricts.size()> codeSeq{};
    for (std::size_t i = 0; i < customers.size(); ++i) {
        Customer& c = customers[i];
        const int d = rnd.below(int(kDistricts.size()));
        const int t = rnd.unit() < 0.7 ? 0 : 1 + rnd.below(int(kTypes.size()) - 1);
        c.region = u8(kDistricts[std::size_t(d)]);
        c.subArea = areas[std::size_t(d)][std::size_t(rnd.below(8))];
        c.type = u8(kTypes[std::size_t(t)].name);
        c.commissionFen = kTypes[std::size_t(t)].commissionFen;
        c.name = u8(rnd.pick(kSurnames)) + u8(rnd.pick(kGiven));
        if (t != 0)
            c.company = u8(rnd.pick(kCompanyHeads)) + u8(rnd.pick(kCompanyTails));
        const QString mobile = QStringLiteral("1") + QChar(u'3' + rnd.below(7)) + rnd.digits(9);
        const QString landline = QChar(u'5' + rnd.below(4)) + rnd.digits(7);
        const double kind = rnd.unit();
        c.phone = kind < 0.65 ? mobile : kind < 0.85 ? landline : mobile + QLatin1Char(' ') + landline;
        c.address = c.region + u8(rnd.pick(kRoads)) + QString::number(1 + rnd.below(300)) + u8("号") + c.subArea
                    + QString::number(1 + rnd.below(40)) + u8("号楼") + QString::number(1 + rnd.below(6)) + u8("单元")
                    + QString::number(1 + rnd.below(24)) + QStringLiteral("%1").arg(1 + rnd.below(4), 2, 10, QLatin1Char('0'))
                    + u8("室");
        c.code = QString::fromLatin1(kDistrictCodes[std::size_t(d)])
                 + QStringLiteral("%1").arg(++codeSeq[std::size_t(d)], 5, 10, QLatin1Char('0'));
        if (rnd.chance(0.3))
            c.salesperson = u8(rnd.pick(kSalespeople));
    }
    progress(QStringLiteral("%1 位客户已生成").arg(customers.size()));

    // ---- order lines ----
    BatchInsert lines(db, QStringLiteral("产品销售开票"),
                      cols("单据编号,购物日期,产品名称,数量,应付货款,配送工,客户编号,提成,欠款,区域,地址,电话,时间,收款方式,"
                           "客户姓名,小区域,销售单价,已发数量,发货完毕,是否预约,发货备注,交款完毕,手工编号,操作员,单位,"
                           "发货时间,回单登记,客户类型,库房名称,产品类型,实付货款,实付票数,签单数,签单日期,签单人姓名,"
                           "结算日期,回桶名称,回桶数量"),
                      100);
    const QDate first = size.lastDay.addYears(-size.years).addDays(1);
    const int n = int(customers.size());
    db.handle().transaction();
    qint64 sinceCommit = 0;
    for (QDate day = first; n > 0 && day <= size.lastDay; day = day.addDays(1)) {
        const QString dayText = day.toString(QStringLiteral("yyyy-MM-dd"));
        const QString docPrefix = day.toString(QStringLiteral("yyyyMMdd"));
        const bool today = day == size.lastDay;
        const int target = size.linesPerDay * 9 / 10 + rnd.below(std::max(1, size.linesPerDay / 5));
        int written = 0;
        int seq = 0;
        while (written < target && seq < 9999) {
            // Regular customers order far more often than the rest.
            const int ci = std::min(n - 1, int(std::pow(rnd.unit(), 1.6) * n));
            Customer& c = customers[std::size_t(ci)];
            const QString doc = docPrefix + QStringLiteral("%1").arg(++seq, 4, 10, QLatin1Char('0'));
            const double pay = rnd.unit();
            const QString method = pay < 0.70 ? u8("现金") : pay < 0.85 ? u8("水票") : pay < 0.92 ? u8("签单")
                                   : pay < 0.97 ? u8("预付款") : pay < 0.99 ? u8("水卡") : u8("免费");
            const QString worker = u8(rnd.pick(kWorkers));
            const int minute = 7 * 60 + rnd.below(12 * 60);
            const QString at = dayText + QStringLiteral(" %1:%2:%3").arg(minute / 60, 2, 10, QLatin1Char('0'))
                                             .arg(minute % 60, 2, 10, QLatin1Char('0')).arg(rnd.below(60), 2, 10, QLatin1Char('0'));
            const bool delivered = !today || rnd.chance(0.6);
            const bool settled = method != u8("签单") || (!today && rnd.chance(0.7));
            const double many = rnd.unit();
            const int nLines = many < 0.8 ? 1 : many < 0.97 ? 2 : 3;
            qint64 orderUnits = 0;
            for (int l = 0; l < nLines && written < target; ++l, ++written) {
                const int pi = rnd.unit() < 0.85 ? rnd.below(4) : 4 + rnd.below(3);
                const Product& p = kProducts[std::size_t(pi)];
                const int qty = p.bucket ? 1 + rnd.below(3) : 1;
                const Money price = method == u8("免费") ? Money() : Money::yuan(method == u8("水票") ? p.ticketPriceYuan : p.priceYuan);
                const Money amount = price * qty;
                const bool paidAtEntry = method == u8("预付款") || method == u8("免费");
                const bool iou = method == u8("签单");
                lines.add({doc, dayText, u8(p.name), qty, QVariant::fromValue(amount), worker, ci + 1,
                           QVariant::fromValue(p.bucket ? yuanFen(100) * qty : Money()),
                           QVariant::fromValue(settled ? Money() : amount), c.region, c.address, c.phone, at, method,
                           c.name, c.subArea, QVariant::fromValue(price), delivered ? qty : 0, delivered, false, QString(),
                           settled && (delivered || paidAtEntry), c.code, QStringLiteral("admin"), c.company,
                           delivered ? at : QString(), paidAtEntry ? u8("否") : QVariant(), c.type, u8("总库"), u8(p.type),
                           QVariant::fromValue(settled && method == u8("现金") ? amount : Money()),
                           method == u8("水票") ? qty : 0, iou ? qty : 0, iou ? QVariant(dayText) : QVariant(),
                           iou ? c.name : QVariant(), settled && delivered ? QVariant(dayText) : QVariant(),
                           p.bucket ? QVariant(u8(p.name)) : QVariant(), p.bucket && delivered ? qty : 0});
                c.units += qty;
                c.moneyUnits += amount.units();
                orderUnits += qty;
            }
            ++c.orders;
            c.lastOrder = day;
            ++counts.orders;
        }
        counts.orderLines += written;
        sinceCommit += written;
        if (sinceCommit >= 50000) {
            lines.flush();
            db.handle().commit();
            db.handle().transaction();
            sinceCommit = 0;
        }
        if (day.month() == 12 && day.day() == 31)
            progress(QStringLiteral("%1 年的订单已写入，共 %2 行").arg(day.year()).arg(counts.orderLines));
    }
    lines.flush();
    db.handle().commit();
    progress(QStringLiteral("订单共 %1 行").arg(counts.orderLines));

    // ---- customers, with the totals their orders gave them ----
    BatchInsert rows(db, QStringLiteral("客户资料"),
                     cols("id,客户类型,客户地区,联系电话,客户姓名,客户单位,身份证号,生日,联系地址,小区域,最后订水时间,手工编码,"
                          "备用1,洗机频率,最后洗机时间,下次洗机时间,订水总数量,订水总金额,订水总次数,业务员,提成,预付款剩余,积分"),
                     200);
    db.handle().transaction();
    for (int i = 0; i < n; ++i) {
        const Customer& c = customers[std::size_t(i)];
        const bool cleaning = rnd.chance(0.2);
        const QDate cleaned = size.lastDay.addDays(-rnd.below(120));
        const bool prepaid = rnd.chance(0.1);
        rows.add({i + 1, c.type, c.region, c.phone, c.name, c.company,
                  rnd.chance(0.2) ? QVariant(QStringLiteral("110") + rnd.digits(15)) : QVariant(),
                  rnd.chance(0.3) ? QVariant(QStringLiteral("%1-%2-%3").arg(1950 + rnd.below(50)).arg(1 + rnd.below(12), 2, 10, QLatin1Char('0')).arg(1 + rnd.below(28), 2, 10, QLatin1Char('0')))
                                  : QVariant(),
                  c.address, c.subArea,
                  c.lastOrder.isValid() ? QVariant(c.lastOrder.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant(), c.code,
                  rnd.chance(0.1) ? QVariant(u8("送货前请先打电话，白天家里没人时放门卫室")) : QVariant(QString()),
                  cleaning ? QVariant(90) : QVariant(),
                  cleaning ? QVariant(cleaned.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant(),
                  cleaning ? QVariant(cleaned.addDays(90).toString(QStringLiteral("yyyy-MM-dd"))) : QVariant(), c.units,
                  QVariant::fromValue(Money::fromUnits(c.moneyUnits)), c.orders, c.salesperson,
                  QVariant::fromValue(yuanFen(c.commissionFen)),
                  QVariant::fromValue(prepaid ? Money::yuan(50 * (1 + rnd.below(10))) : Money()),
                  QVariant::fromValue(prepaid ? Money::yuan(rnd.below(500)) : Money())});
        if ((i + 1) % 50000 == 0) {
            rows.flush();
            progress(QStringLiteral("%1 位客户已写入").arg(i + 1));
        }
    }
    rows.flush();
    // Ids were given explicitly; the counter must carry on after them.
    if (db.engine() == Engine::Postgres && n > 0)
        db.exec(QStringLiteral("select setval(pg_get_serial_sequence('客户资料','id'), :n)"), {{QStringLiteral("n"), n}});
    db.handle().commit();
    counts.customers = n;
    if (db.engine() == Engine::Sqlite)
        db.exec(QStringLiteral("analyze"));
    else
        db.exec(QStringLiteral("vacuum analyze"));
    return counts;
}

} // namespace ts::bench
