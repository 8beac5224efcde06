// Benchmarks on a generated station, each beside the same work done through
// the engine's own C library. Run with the databases that tongshui-gen wrote:
//   TONGSHUI_BENCH_SQLITE=/tmp/station.db
//   TONGSHUI_BENCH_PG=postgresql://user@host:port/dbname
// Each case reports ours_ms and bare_ms (medians over its iterations, the
// two run alternately) and ratio = ours_ms / bare_ms.
#include "bare_sql.h"

#include "app/login.h"
#include "customers/customer_list.h"
#include "customers/customer_records.h"
#include "customers/customer_search_index.h"
#include "orders/order_basket.h"
#include "orders/order_board.h"
#include "orders/order_entry.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "storage/dates.h"
#include "storage/db.h"
#include "storage/passwords.h"
#include "storage/time_zone.h"
#include "widgets/data_grid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <vector>

namespace ts::bench {
namespace {

struct Station {
    DbTarget target;
    std::unique_ptr<Db> db;
    std::unique_ptr<BareSql> bare;
};

std::map<Engine, Station>& stations()
{
    static std::map<Engine, Station> s;
    return s;
}

bool openStation(Engine engine, const char* variable)
{
    const QString text = qEnvironmentVariable(variable);
    if (text.isEmpty())
        return false;
    QString error;
    const auto target = DbTarget::parse(text, &error);
    auto db = target ? Db::open(*target, &error) : nullptr;
    if (!db) {
        std::fprintf(stderr, "%s: %s\n", variable, error.toUtf8().constData());
        return false;
    }
    stations()[engine] = Station{*target, std::move(db), BareSql::open(*target)};
    return true;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double rssMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Milliseconds of painting in the cases that show a grid, reported apart
// from the reading.
std::vector<double>& paintTimes()
{
    static std::vector<double> t;
    return t;
}

// Runs ours and bare alternately; the benchmark's own time is ours.
void paired(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& bare)
{
    std::vector<double> o, b;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        ours();
        const double oursNs = double(t.nsecsElapsed());
        state.SetIterationTime(oursNs / 1e9);
        t.restart();
        bare();
        b.push_back(double(t.nsecsElapsed()) / 1e6);
        o.push_back(oursNs / 1e6);
    }
    const double om = median(o), bm = median(b);
    if (!paintTimes().empty()) {
        const double pm = median(paintTimes());
        state.counters["paint_ms"] = pm;
        // Bare SQL paints nothing: the ratio of the reading alone.
        state.counters["ratio_unpainted"] = bm > 0 ? (om - pm) / bm : 0;
    }
    paintTimes().clear();
    state.counters["ours_ms"] = om;
    state.counters["bare_ms"] = bm;
    state.counters["ratio"] = bm > 0 ? om / bm : 0;
}

QStringList listColumns()
{
    return QStringLiteral("id,客户姓名,联系电话,客户地区,小区域,联系地址,客户类型,积分,客户单位,手工编码,最后订水时间,"
                          "预付款剩余,生日,备用1,洗机频率,最后洗机时间,下次洗机时间,身份证号,业务员,提成,订水总数量,"
                          "订水总次数,订水总金额")
        .split(QLatin1Char(','));
}

// The customer list's grid as the list sets it up, on screen.
std::unique_ptr<DataGrid> listGrid()
{
    auto grid = std::make_unique<DataGrid>();
    grid->setColumns(listColumns());
    grid->setSortable(true);
    grid->setTitle(QStringLiteral("id"), QStringLiteral("客户编号"));
    grid->resize(900, 480);
    grid->show();
    QApplication::processEvents();
    return grid;
}

// What the grid sends for a statement: its count and its first page.
void bareFirstScreen(BareSql& bare, const Query& q)
{
    const qsizetype at = q.sql.lastIndexOf(QStringLiteral(" order by "));
    const QString body = q.sql.left(at);
    const QString order = q.sql.mid(at);
    bare.read(QStringLiteral("select count(*) from (") + body + QStringLiteral(") t"), q.binds);
    bare.read(QStringLiteral("select t.* from (") + body + QStringLiteral(") t") + order + QStringLiteral(" limit 200 offset 0"),
              q.binds);
}

void paint(DataGrid& grid)
{
    QElapsedTimer t;
    t.start();
    // Painted, as the operator sees it.
    grid.view()->viewport()->grab();
    paintTimes().push_back(double(t.nsecsElapsed()) / 1e6);
}

void showFirstScreen(DataGrid& grid, Db& db, const Query& q)
{
    grid.load(db, q);
    grid.setCurrentRow(0);
    paint(grid);
}

// On a PC of two cores, parallel workers of the server compete with the
// program itself; `serial` turns them off for both sides to show the cost.
void setParallel(Station& s, bool on)
{
    const QString sql = on ? QStringLiteral("reset max_parallel_workers_per_gather")
                           : QStringLiteral("set max_parallel_workers_per_gather = 0");
    s.db->exec(sql);
    s.bare->run(sql);
}

void BM_OpenCustomerList(benchmark::State& state, Engine engine, bool serial)
{
    Station& s = stations().at(engine);
    if (serial)
        setParallel(s, false);
    auto grid = listGrid();
    const Query q = CustomerList(*s.db).search(CustomerFilter().onOpening());
    paired(state, [&] { showFirstScreen(*grid, *s.db, q); }, [&] { bareFirstScreen(*s.bare, q); });
    state.counters["rows"] = grid->rowCount();
    state.counters["rss_mb"] = rssMb();
    if (serial)
        setParallel(s, true);
}

// The old way: every row of the list read, even by bare SQL.
void BM_ReadWholeCustomerListBare(benchmark::State& state, Engine engine)
{
    Station& s = stations().at(engine);
    const Query q = CustomerList(*s.db).search(CustomerFilter().onOpening());
    for (auto _ : state)
        benchmark::DoNotOptimize(s.bare->read(q.sql, q.binds));
}

CustomerFilter searchFilter(int kind)
{
    CustomerFilter f;
    switch (kind) {
    case 0: f.phone = QStringLiteral("5678"); break;
    case 1: f.phone = QStringLiteral("62345"); break;
    case 2: f.name = QStringLiteral("王建国"); break;
    case 3: f.name = QStringLiteral("三丰"); break;
    case 4: f.code = QStringLiteral("HD0123"); break;
    case 5: f.address = QStringLiteral("花园路12号"); break;
    case 6: f.region = QStringLiteral("海淀区"); break;
    default: f.address = QStringLiteral("望京"); break;
    }
    return f;
}

const char* searchLabel(int kind)
{
    static const char* labels[] = {"phone_4_digits", "phone_5_digits", "name_3_chars", "name_2_chars",
                                   "code", "address", "district", "address_2_chars"};
    return labels[kind];
}

// The same search as a plain like on every row, which the index replaces.
Query plainScan(const CustomerFilter& f)
{
    QString where;
    Binds b;
    auto like = [&](const QString& column, const QString& typed) {
        if (typed.isEmpty())
            return;
        where += QStringLiteral(" and ") + column + QStringLiteral(" like :p") + QString::number(b.size())
                 + QLatin1String(kLikeEscape);
        b.insert(QStringLiteral("p") + QString::number(b.size()), containsPattern(typed));
    };
    like(QStringLiteral("客户姓名"), f.name);
    like(QStringLiteral("联系电话"), f.phone);
    like(QStringLiteral("手工编码"), f.code);
    like(QStringLiteral("联系地址"), f.address);
    if (!f.region.isEmpty()) {
        where += QStringLiteral(" and 客户地区=:region");
        b.insert(QStringLiteral("region"), f.region);
    }
    return {QStringLiteral("select ") + CustomerList::fields().join(QLatin1Char(','))
                + QStringLiteral(" from 客户资料 where 1=1") + where + QStringLiteral(" order by id"),
            b};
}

void BM_SearchCustomers(benchmark::State& state, Engine engine, int kind)
{
    Station& s = stations().at(engine);
    auto grid = listGrid();
    const CustomerFilter f = searchFilter(kind);
    const Query q = CustomerList(*s.db).search(f);
    paired(state, [&] { showFirstScreen(*grid, *s.db, q); }, [&] { bareFirstScreen(*s.bare, q); });
    state.counters["rows"] = grid->rowCount();
    std::vector<double> scan;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        bareFirstScreen(*s.bare, plainScan(f));
        scan.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    state.counters["plain_like_bare_ms"] = median(scan);
}

void BM_SaveCustomerWithListOpen(benchmark::State& state, Engine engine)
{
    Station& s = stations().at(engine);
    auto grid = listGrid();
    CustomerList list(*s.db);
    const Query q = list.search(CustomerFilter().onOpening());
    showFirstScreen(*grid, *s.db, q);
    paintTimes().clear();
    const qint64 id = state.range(0);
    CustomerRecords records(*s.db);
    CustomerInput input = *records.load(id);
    int n = 0;
    paired(state,
           [&] {
               input.note = QStringLiteral("备注%1").arg(++n);
               if (!records.update(id, input.name, input))
                   state.SkipWithError("save refused");
               grid->load(*s.db, q);
               grid->setCurrentRow(grid->findRow(QStringLiteral("id"), id));
               paint(*grid);
           },
           [&] {
               s.bare->run(QStringLiteral("update 客户资料 set 备用1=:n where id=:id"),
                           {{QStringLiteral("n"), QStringLiteral("备注%1").arg(++n)}, {QStringLiteral("id"), id}});
               bareFirstScreen(*s.bare, q);
               s.bare->read(QStringLiteral("select count(*) from 客户资料 where id<:id"), {{QStringLiteral("id"), id}});
           });
}

void BM_CallerLookup(benchmark::State& state, Engine engine, const char* number)
{
    Station& s = stations().at(engine);
    const QString n = QString::fromLatin1(number);
    CustomerList list(*s.db);
    long long found = 0;
    paired(state, [&] { found = list.byTelephone(n).size(); },
           [&] {
               s.bare->read(QStringLiteral("select * from 客户资料 where 1=1")
                                + (s.db->engine() == Engine::Sqlite && n.size() >= 3
                                       ? QStringLiteral(" and id in (select rowid from kehu_fts where kehu_fts match :q)")
                                       : QString())
                                + QStringLiteral(" and 联系电话 like :p escape '\\' order by id"),
                            {{QStringLiteral("q"), QStringLiteral("联系电话 : \"") + n + QStringLiteral("\"")},
                             {QStringLiteral("p"), containsPattern(n)}});
           });
    state.counters["rows"] = double(found);
}

void BM_Login(benchmark::State& state, Engine engine)
{
    Station& s = stations().at(engine);
    QTemporaryDir dir;
    LoginInput in;
    in.user = QStringLiteral("admin");
    in.password = QStringLiteral("admin");
    const QString stored = s.db->scalar(QStringLiteral("select 密码 from 登陆 where 用户='admin'")).toString();
    paired(state,
           [&] {
               LoginValues v;
               if (!Login(*s.db).login(in, dir.path(), v))
                   state.SkipWithError("login refused");
           },
           [&] {
               s.bare->run(QStringLiteral("begin"));
               for (const char* c : {"订水总数量", "订水总次数", "订水总金额", "预付款剩余", "积分"})
                   s.bare->run(QStringLiteral("update 客户资料 set %1=0 where %1 is null").arg(QString::fromUtf8(c)));
               s.bare->run(QStringLiteral("commit"));
               s.bare->read(QStringLiteral("select id,密码,right1 from 登陆 where 用户=:u order by id"),
                            {{QStringLiteral("u"), in.user}});
               if (!passwordMatches(in.password, stored))
                   state.SkipWithError("bare password check failed");
               s.bare->run(QStringLiteral("begin"));
               s.bare->run(QStringLiteral("update 串口编号 set 编号=0"));
               s.bare->run(QStringLiteral("update 录音设备 set 录音设备=''"));
               s.bare->run(QStringLiteral("commit"));
               s.bare->read(QStringLiteral("select 方式 from 提成方式 limit 1"));
           });
}

// Order lines with their three date columns, as a list of orders reads them.
void BM_ReadOrderDates(benchmark::State& state, Engine engine, bool pinned)
{
    Station& s = stations().at(engine);
    if (pinned) {
        pinLocalTimeZone();
    } else {
        qunsetenv("TZ");
        tzset();
    }
    const QString sql = QStringLiteral("select id,单据编号,购物日期,签单日期,结算日期,预约时间 from 产品销售开票 where id<=20000 order by id");
    paired(state, [&] { benchmark::DoNotOptimize(s.db->select(sql).size()); }, [&] { s.bare->read(sql); });
    qunsetenv("TZ");
    pinLocalTimeZone();
}

// ---- order entry ----

LoginValues orderLogin()
{
    LoginValues v;
    v.operatorName = QStringLiteral("admin");
    v.commissionMethod = QStringLiteral("产品");
    v.stockWarning = QStringLiteral("提示");
    return v;
}

// The regular customer orders every few days and has years of order lines;
// the occasional one a handful.
qint64 customerOfKind(int kind)
{
    return kind == 0 ? 1 : 150000;
}

const char* customerLabel(int kind)
{
    return kind == 0 ? "regular" : "occasional";
}

// The telephone that finds the customer alone (a mobile number; a landline
// of eight digits may also sit inside another customer's mobile number).
QString telephoneOf(Db& db, OrderEntry& entry, qint64 id)
{
    const QString phone = db.scalar(QStringLiteral("select 联系电话 from 客户资料 where id=:id"), {{QStringLiteral("id"), id}})
                              .toString()
                              .section(QLatin1Char(' '), 0, 0);
    const CustomerSearch found = entry.search(CustomerField::Telephone, phone);
    return found.found == CustomerSearch::Found::One && found.customer.id == id ? phone : QString();
}

// The order form's customer load for a calling number: the search by
// telephone, then the customer and every query of the status panel.
void BM_OrderFormCustomerLoad(benchmark::State& state, Engine engine, int kind)
{
    Station& s = stations().at(engine);
    const LoginValues login = orderLogin();
    OrderEntry entry(*s.db, login);
    const qint64 id = customerOfKind(kind);
    const QString phone = telephoneOf(*s.db, entry, id);
    if (phone.isEmpty()) {
        state.SkipWithError("the customer's telephone does not find him alone");
        return;
    }
    const bool fts = engine == Engine::Sqlite && phone.size() >= ContainsSearch::kIndexedLength;
    const QString search = QStringLiteral("select id from 客户资料 where 1=1")
                           + (fts ? QStringLiteral(" and id in (select rowid from kehu_fts where kehu_fts match :q)") : QString())
                           + QStringLiteral(" and 联系电话 like :p escape '\\' order by id limit 2");
    const Binds searchBinds{{QStringLiteral("q"), QStringLiteral("联系电话 : \"") + phone + QStringLiteral("\"")},
                            {QStringLiteral("p"), containsPattern(phone)}};
    const Binds b{{QStringLiteral("id"), id}};
    paired(state,
           [&] {
               if (entry.search(CustomerField::Telephone, phone).found != CustomerSearch::Found::One)
                   state.SkipWithError("customer not found");
           },
           [&] {
               s.bare->read(search, searchBinds);
               s.bare->read(QStringLiteral("select * from 客户资料 where id=:id"), b);
               s.bare->read(QStringLiteral("select sum(未还数量) from 欠桶 where 客户编号=:id"), b);
               s.bare->read(QStringLiteral("select sum(数量) as sl, sum(租金) as cc from 饮水机租借表 where 客户编号=:id"), b);
               s.bare->read(QStringLiteral("select sum(签单数) from 产品销售开票 where 客户编号=:id and 收款方式=:way"),
                            {{QStringLiteral("id"), id}, {QStringLiteral("way"), QStringLiteral("签单")}});
               s.bare->read(QStringLiteral("select sum(收取押金) from 出租桶 where 客户编号=:id"), b);
               s.bare->read(QStringLiteral("select 产品名称 from 产品销售开票 where 客户编号=:id order by id desc limit 1"), b);
               s.bare->read(QStringLiteral("select 产品名称,还剩数量 from 客户水票总表 where 客户编号=:id"), b);
           });
    state.counters["order_lines"] = s.db->scalar(QStringLiteral("select count(*) from 产品销售开票 where 客户编号=:id"), b)
                                        .toDouble();
}

// shuaxinmain on the busiest recent day: the board's first screen (count,
// first page, footer sums) and the day's figures.
void BM_BoardRefresh(benchmark::State& state, Engine engine)
{
    Station& s = stations().at(engine);
    const QDate day = QDate::fromString(
        dateText(s.db->scalar(QStringLiteral("select max(购物日期) from 产品销售开票 where 购物日期<=:today"),
                              {{QStringLiteral("today"), dbDate(QDate::currentDate())}}))
            .left(10),
        QStringLiteral("yyyy-MM-dd"));
    auto grid = std::make_unique<DataGrid>();
    grid->setColumns(OrderBoard::columns());
    for (const QString& c : OrderBoard::summedColumns())
        grid->setFooterSum(c);
    grid->resize(760, 520);
    grid->show();
    QApplication::processEvents();
    OrderBoard board(*s.db);
    const Query q = board.query(BoardFilter(), day);
    QStringList sums;
    for (const QString& c : OrderBoard::summedColumns())
        sums << QStringLiteral("sum(%1)").arg(c);
    const QString body = q.sql.left(q.sql.lastIndexOf(QStringLiteral(" order by ")));
    const QString order = q.sql.mid(q.sql.lastIndexOf(QStringLiteral(" order by ")));
    // The board's cursor goes to the last line, so the grid reads that page too.
    grid->load(*s.db, q);
    const int lastPage = (grid->rowCount() - 1) / 200 * 200;
    paired(state,
           [&] {
               grid->load(*s.db, q);
               grid->setCurrentRow(grid->rowCount() - 1);
               board.figures(day);
               paint(*grid);
           },
           [&] {
               bareFirstScreen(*s.bare, q);
               if (lastPage > 0)
                   s.bare->read(QStringLiteral("select t.* from (") + body + QStringLiteral(") t") + order
                                    + QStringLiteral(" limit 200 offset %1").arg(lastPage),
                                q.binds);
               s.bare->read(QStringLiteral("select ") + sums.join(QLatin1Char(',')) + QStringLiteral(" from (") + body
                                + QStringLiteral(") t"),
                            q.binds);
               s.bare->read(OrderBoard::figuresQuery(day).sql, OrderBoard::figuresQuery(day).binds);
           });
    state.counters["lines"] = grid->rowCount();
}

const QString kOrderColumns = QStringLiteral(
    "单据编号,购物日期,产品名称,数量,应付货款,配送工,客户编号,提成,欠款,区域,地址,电话,时间,收款方式,客户姓名,小区域,"
    "销售单价,已发数量,发货完毕,售前库存,售后库存,是否预约,预约时间,发货备注,交款完毕,手工编号,操作员,单位,发货时间,"
    "录音文件,回单登记,客户类型,库房名称,订水间隔天数,产品类型");

// The statements of a confirmed cash order of the basket's lines, as the
// confirmation sends them, through the C library.
void bareConfirm(BareSql& bare, Engine engine, const OrderDraft& d, const QList<BasketLine>& lines, const LoginValues& login)
{
    const QDateTime now = clock::now();
    const QString day = now.date().toString(QStringLiteral("yyyyMMdd"));
    bare.run(engine == Engine::Sqlite ? QStringLiteral("begin immediate") : QStringLiteral("begin"));
    bare.read(QStringLiteral("select 行号,产品名称,数量,销售单价,总金额,提成,产品类型 from 销售临时表 "
                             "where 电话号码=:key order by 行号"),
              {{QStringLiteral("key"), d.basketKey}});
    std::map<QString, int> perProduct;
    Money total;
    int units = 0;
    for (const BasketLine& l : lines) {
        perProduct[l.product] += l.quantity.toInt();
        units += l.quantity.toInt();
        Money amount;
        Money::parse(l.amount, &amount);
        total += amount;
    }
    std::map<QString, int> before;
    for (const auto& [product, n] : perProduct) {
        const Binds b{{QStringLiteral("w"), d.warehouse}, {QStringLiteral("p"), product}, {QStringLiteral("n"), n}};
        bare.run(QStringLiteral("update 库存总表 set 数量=coalesce(数量,0)-:n where 产品名称=:p and 库房名称=:w "
                                "and coalesce(数量,0)>=:n"),
                 b);
        before[product] = bare.first(QStringLiteral("select sum(数量) as n, count(*) as c from 库存总表 "
                                                    "where 产品名称=:p and 库房名称=:w"),
                                     b)
                              .toInt()
                          + n;
    }
    if (engine == Engine::Postgres)
        bare.run(QStringLiteral("select pg_advisory_xact_lock(1, :day)"), {{QStringLiteral("day"), day.toInt()}});
    const QString last = bare.first(QStringLiteral("select 单据编号 from 产品销售开票 where 单据编号>=:lo and 单据编号<=:hi "
                                                   "order by length(单据编号) desc, 单据编号 desc limit 20"),
                                    {{QStringLiteral("lo"), day + QStringLiteral("0000")},
                                     {QStringLiteral("hi"), day + QStringLiteral("99999")}});
    const QString number = day + QStringLiteral("%1").arg(last.mid(8).toLongLong() + 1, 4, 10, QLatin1Char('0'));
    const QString lastOrder =
        bare.first(QStringLiteral("select 最后订水时间 from 客户资料 where id=:id"), {{QStringLiteral("id"), d.customerId}});
    const QDateTime lastAt = QDateTime::fromString(lastOrder.left(10), QStringLiteral("yyyy-MM-dd"));
    bare.run(QStringLiteral("update 客户资料 set 备用1=:remark,联系电话=:phone,联系地址=:address,客户类型=:type,"
                            "客户地区=:district,小区域=:sub,客户姓名=:name,手工编码=:code,客户单位=:company,"
                            "订水总数量=coalesce(订水总数量,0)+:units,订水总金额=coalesce(订水总金额,0)+:total,"
                            "订水总次数=coalesce(订水总次数,0)+1,预付款剩余=coalesce(预付款剩余,0)-:spent,提成=:rate,"
                            "积分=coalesce(积分,0)+:spent,最后订水时间=:today where id=:id and coalesce(预付款剩余,0)>=:spent"),
             {{QStringLiteral("remark"), d.remark},   {QStringLiteral("phone"), d.phone},
              {QStringLiteral("address"), d.address}, {QStringLiteral("type"), d.customerType},
              {QStringLiteral("district"), d.district}, {QStringLiteral("sub"), d.subDistrict},
              {QStringLiteral("name"), d.name},       {QStringLiteral("code"), d.code},
              {QStringLiteral("company"), d.company}, {QStringLiteral("units"), units},
              {QStringLiteral("total"), total.toVariant()}, {QStringLiteral("spent"), Money().toVariant()},
              {QStringLiteral("rate"), d.commissionRate.toVariant()}, {QStringLiteral("today"), dbDate(now.date())},
              {QStringLiteral("id"), d.customerId}});
    QStringList marks;
    for (qsizetype i = 0; i < kOrderColumns.count(QLatin1Char(',')) + 1; ++i)
        marks << QStringLiteral(":c") + QString::number(i);
    const QString insert = QStringLiteral("insert into 产品销售开票 (") + kOrderColumns + QStringLiteral(") values (")
                           + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    std::map<QString, int> running = before;
    for (const BasketLine& l : lines) {
        Money price, amount, commission;
        Money::parse(l.unitPrice, &price);
        Money::parse(l.amount, &amount);
        Money::parse(l.commission, &commission);
        const int qty = l.quantity.toInt();
        const int stockBefore = running[l.product];
        running[l.product] -= qty;
        const QVariantList values{number, dbDate(now.date()), l.product, qty, amount.toVariant(), d.worker, d.customerId,
                                  commission.toVariant(), amount.toVariant(), d.district, d.address, d.phone,
                                  dbDateTime(now), d.paymentMethod, d.name, d.subDistrict, price.toVariant(), 0, false,
                                  stockBefore, stockBefore - qty, false, QVariant(), d.deliveryRemark, false, d.code,
                                  login.operatorName, d.company, QString(QLatin1String("")), QVariant(), QVariant(),
                                  d.customerType, d.warehouse,
                                  lastAt.isValid() ? QVariant(qint64(lastAt.secsTo(now) / 86400)) : QVariant(), l.productType};
        Binds b;
        for (int i = 0; i < values.size(); ++i)
            b.insert(QStringLiteral("c") + QString::number(i), values.at(i));
        bare.run(insert, b);
    }
    bare.run(QStringLiteral("commit"));
}

// A three-line cash order of a regular customer confirmed, its commit
// durable: SQLite as the program opens it (the rollback journal, synchronous
// FULL), PostgreSQL as the server is set up. Every order written is taken
// away again afterwards, so the station stays as generated.
void BM_ConfirmOrder(benchmark::State& state, Engine engine)
{
    Station& s = stations().at(engine);
    // The station's last day, with its few hundred orders already numbered.
    clock::setNow(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
    const LoginValues login = orderLogin();
    OrderEntry entry(*s.db, login);
    const qint64 id = customerOfKind(0);
    const std::optional<CustomerView> v = entry.load(id);
    if (!v) {
        state.SkipWithError("no such customer");
        return;
    }
    OrderDraft d;
    d.basketKey = OrderBasket::newKey();
    d.customerId = id;
    for (const auto& [field, column] : std::initializer_list<std::pair<QString*, const char*>>{
             {&d.name, "客户姓名"}, {&d.phone, "联系电话"}, {&d.address, "联系地址"}, {&d.code, "手工编码"},
             {&d.customerType, "客户类型"}, {&d.company, "客户单位"}, {&d.district, "客户地区"},
             {&d.subDistrict, "小区域"}, {&d.remark, "备用1"}})
        *field = v->text(QString::fromUtf8(column));
    d.commissionRate = v->commissionRate;
    d.paymentMethod = QStringLiteral("现金");
    d.warehouse = entry.warehouses().value(0);
    d.worker = entry.workers().value(1);
    OrderBasket basket(*s.db, d.basketKey);
    Money rate = d.commissionRate;
    const QStringList products = entry.products().texts(QStringLiteral("产品名称"));
    for (int i = 0; i < 3; ++i) {
        entry.addProduct(basket, products.at(i), id, d.customerType, d.paymentMethod, &rate);
        basket.setQuantity(basket.lines().last().line, QString::number(1 + i % 2),
                           {d.paymentMethod, login.commissionMethod, rate});
    }
    const QList<BasketLine> lines = basket.lines();

    const qint64 lastLine = s.db->scalar(QStringLiteral("select max(id) from 产品销售开票")).toLongLong();
    const Rows stock = s.db->select(QStringLiteral("select 库房名称,产品名称,数量 from 库存总表"));
    const Rows customer = s.db->select(QStringLiteral("select 订水总数量,订水总金额,订水总次数,最后订水时间 from 客户资料 "
                                                      "where id=:id"),
                                       {{QStringLiteral("id"), id}});
    paired(state,
           [&] {
               if (!entry.confirm(d).outcome)
                   state.SkipWithError("confirmation refused");
           },
           [&] { bareConfirm(*s.bare, engine, d, lines, login); });
    // How durable the commit is: SQLite's synchronous level on the program's
    // connection (2 = FULL), or the server's fsync and synchronous_commit.
    if (engine == Engine::Sqlite) {
        state.counters["synchronous"] = s.db->scalar(QStringLiteral("pragma synchronous")).toDouble();
    } else {
        state.counters["fsync_on"] = s.db->scalar(QStringLiteral("show fsync")).toString() == QLatin1String("on");
        state.counters["synchronous_commit_on"] =
            s.db->scalar(QStringLiteral("show synchronous_commit")).toString() == QLatin1String("on");
    }
    state.counters["orders_that_day"] = s.db->scalar(QStringLiteral("select count(distinct 单据编号) from 产品销售开票 "
                                                                    "where 购物日期=:d"),
                                                     {{QStringLiteral("d"), QStringLiteral("2026-12-10")}})
                                            .toDouble();

    s.db->write([&] {
        s.db->run(QStringLiteral("delete from 产品销售开票 where id>:id"), {{QStringLiteral("id"), lastLine}});
        for (int i = 0; i < stock.size(); ++i)
            s.db->run(QStringLiteral("update 库存总表 set 数量=:n where 库房名称=:w and 产品名称=:p"),
                      {{QStringLiteral("n"), stock.value(i, 2).toLongLong()},
                       {QStringLiteral("w"), stock.value(i, 0)},
                       {QStringLiteral("p"), stock.value(i, 1)}});
        s.db->run(QStringLiteral("update 客户资料 set 订水总数量=:u,订水总金额=:m,订水总次数=:n,最后订水时间=:d where id=:id"),
                  {{QStringLiteral("u"), customer.value(0, 0).toLongLong()},
                   {QStringLiteral("m"), Money::fromVariant(customer.value(0, 1)).toVariant()},
                   {QStringLiteral("n"), customer.value(0, 2).toLongLong()},
                   {QStringLiteral("d"), customer.value(0, 3)},
                   {QStringLiteral("id"), id}});
    });
    basket.clear();
    clock::reset();
}

void registerAll()
{
    const std::pair<Engine, const char*> engines[] = {{Engine::Sqlite, "SQLite"}, {Engine::Postgres, "PostgreSQL"}};
    for (const auto& [engine, name] : engines) {
        if (!stations().count(engine))
            continue;
        const std::string e = name;
        auto reg = [&](const std::string& title, auto fn) {
            return benchmark::RegisterBenchmark((title + "/" + e).c_str(), fn)->UseManualTime()->Unit(benchmark::kMillisecond);
        };
        reg("OpenCustomerList", [engine](benchmark::State& s) { BM_OpenCustomerList(s, engine, false); })->Iterations(20);
        if (engine == Engine::Postgres)
            reg("OpenCustomerList/no_parallel_workers",
                [engine](benchmark::State& s) { BM_OpenCustomerList(s, engine, true); })
                ->Iterations(20);
        benchmark::RegisterBenchmark(("ReadWholeCustomerListBare/" + e).c_str(),
                                     [engine](benchmark::State& s) { BM_ReadWholeCustomerListBare(s, engine); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        for (int kind = 0; kind < 8; ++kind)
            reg(std::string("SearchCustomers/") + searchLabel(kind),
                [engine, kind](benchmark::State& s) { BM_SearchCustomers(s, engine, kind); })
                ->Iterations(20);
        reg("SaveCustomerWithListOpen", [engine](benchmark::State& s) { BM_SaveCustomerWithListOpen(s, engine); })
            ->Arg(10)
            ->Arg(150000)
            ->Iterations(20);
        for (const char* number : {"62345678", "5678", "139"})
            reg(std::string("CallerLookup/") + number,
                [engine, number](benchmark::State& s) { BM_CallerLookup(s, engine, number); })
                ->Iterations(50);
        reg("Login", [engine](benchmark::State& s) { BM_Login(s, engine); })->Iterations(10);
        for (int kind = 0; kind < 2; ++kind)
            reg(std::string("OrderFormCustomerLoad/") + customerLabel(kind),
                [engine, kind](benchmark::State& s) { BM_OrderFormCustomerLoad(s, engine, kind); })
                ->Iterations(50);
        reg("ConfirmOrder", [engine](benchmark::State& s) { BM_ConfirmOrder(s, engine); })->Iterations(50);
        reg("BoardRefresh", [engine](benchmark::State& s) { BM_BoardRefresh(s, engine); })->Iterations(50);
        for (bool pinned : {false, true})
            reg(std::string("ReadOrderDates/") + (pinned ? "tz_pinned" : "tz_unset"),
                [engine, pinned](benchmark::State& s) { BM_ReadOrderDates(s, engine, pinned); })
                ->Iterations(10);
    }
}

} // namespace
} // namespace ts::bench

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    // As the program does at start.
    ts::pinLocalTimeZone();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const bool lite = ts::bench::openStation(ts::Engine::Sqlite, "TONGSHUI_BENCH_SQLITE");
    const bool pg = ts::bench::openStation(ts::Engine::Postgres, "TONGSHUI_BENCH_PG");
    if (!lite && !pg) {
        std::fprintf(stderr, "set TONGSHUI_BENCH_SQLITE and/or TONGSHUI_BENCH_PG to databases written by tongshui-gen\n");
        return 2;
    }
    ts::bench::registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ts::bench::stations().clear();
    return 0;
}
