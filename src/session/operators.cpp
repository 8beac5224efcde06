#include "session/operators.h"

#include "storage/passwords.h"


#include <algorithm>

namespace ts {

namespace {
QStringList items(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(','));
}
} // namespace

const QList<RightsGroup>& rightsGroups()
{
    static const QList<RightsGroup> groups{
        {1, QStringLiteral("基础数据"), items("商品资料,配送员工,客户区域,客户类型,客户资料,水站信息,库房设置,导入导出客户资料")},
        {2, QStringLiteral("日常业务"),
         items("手工订水,预约信息,发货,收款,收票,签单,删除订货单,退货,退款,客户追踪,水卡续费,水卡续费明细,客户水卡剩余,"
               "预付款流水查询,积分修改,积分兑换")},
        {3, QStringLiteral("水票、桶、饮水机"),
         items("水票登记,水票销售,水票销售查询,客户剩余水票,水票回收,水票回收查询,还票查询,库存水票查询,水票跟踪查询,"
               "水票跟踪录入,空桶出库,空桶入库,空桶出租,空桶销售,租桶回收,借桶归还,借桶转租,空桶对换,空桶库存查询,"
               "出租桶情况查询,回收桶情况查询,借桶查询,还桶查询,饮水机销售与赠送,饮水机销售赠送查询,饮水机租借,"
               "饮水机租借流水帐,饮水机归还,饮水机归还流水帐,饮水机清洗,饮水机清洗流水帐")},
        {4, QStringLiteral("提醒设置"), items("提醒设置,超时订水客户提醒,预约提醒查询,饮水机提醒查询")},
        {5, QStringLiteral("收支管理"),
         items("收支明细表,其他收入登记,其他支出登记,收支汇总单,今日结帐,结帐明细查询,月结,月结查询")},
        {6, QStringLiteral("库存管理"), items("产品入库,产品出库,产品库存查询,空桶库存查询,入库明细查询")},
        {7, QStringLiteral("查询统计"),
         items("销售统计,签单查询,还票查询,还款查询,最后订水时间查询,配送员业绩查询,客户购买情况查询,产品销售查询,"
               "剩余水票查询,水票跟踪查询,历史来电查询,业务员业绩查询")},
        {8, QStringLiteral("系统管理"), items("权限管理,密码管理,数据备份,数据恢复,数据初始化,手机短信")},
        {9, QStringLiteral("帮助"), items("帮助文件,关于")},
    };
    return groups;
}

namespace {

const QString kNameRule = QStringLiteral("登陆.用户");

} // namespace

QString noRights()
{
    return QString(31, QLatin1Char('0'));
}

QList<OperatorRow> Operators::list()
{
    QList<OperatorRow> rows;
    const Rows r = db_.select(QStringLiteral("select id, 用户 from 登陆 order by id"));
    for (int i = 0; i < r.size(); ++i)
        rows.append({r.value(i, 0).toLongLong(), r.value(i, 1).toString()});
    return rows;
}

std::optional<OperatorRow> Operators::find(const QString& name)
{
    const Rows r = db_.select(QStringLiteral("select id, 用户 from 登陆 where 用户=:u order by id"),
                              {{QStringLiteral("u"), name}});
    if (r.isEmpty())
        return std::nullopt;
    return OperatorRow{r.value(0, 0).toLongLong(), r.value(0, 1).toString()};
}

QStringList Operators::rights(const QString& name)
{
    QStringList r(9);
    const Rows q = db_.select(QStringLiteral("select right1, right2, right3, right4, right5, right6, right7, right8, right9 "
                                             "from 登陆 where 用户=:u order by id"),
                              {{QStringLiteral("u"), name}});
    if (!q.isEmpty())
        for (int i = 0; i < 9; ++i)
            r[i] = q.value(0, i).toString();
    return r;
}

std::optional<QStringList> Operators::authenticate(const QString& name, const QString& password)
{
    const Rows q = db_.select(QStringLiteral("select id, 密码, right1, right2, right3, right4, right5, right6, right7, "
                                             "right8, right9 from 登陆 where 用户=:u order by id"),
                              {{QStringLiteral("u"), name}});
    for (int row = 0; row < q.size(); ++row) {
        // A row without a password is no open door: it matches nothing.
        if (q.value(row, 1).isNull())
            continue;
        const QString stored = q.value(row, 1).toString();
        if (!passwordMatches(password, stored))
            continue;
        QStringList rights;
        for (int i = 2; i < 11; ++i)
            rights << q.value(row, i).toString();
        const qint64 id = q.value(row, 0).toLongLong();
        if (!isPasswordHash(stored))
            db_.run(QStringLiteral("update 登陆 set 密码=:p where id=:id"),
                    {{QStringLiteral("p"), hashPassword(password)}, {QStringLiteral("id"), id}});
        return rights;
    }
    return std::nullopt;
}

QString Operators::setGroupRights(const QString& name, int group, const QList<bool>& checked)
{
    QString s;
    for (bool on : checked)
        s += on ? QLatin1Char('1') : QLatin1Char('0');
    // The column name comes from our own group number, never from input.
    const int n = std::clamp(group, 1, 9);
    db_.run(QStringLiteral("update 登陆 set right%1=:r where 用户=:u").arg(n),
             {{QStringLiteral("r"), s}, {QStringLiteral("u"), name}});
    return s;
}

Outcome Operators::add(const QString& name, const QString& password, const QString& repeat)
{
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入用户名"));
    if (password.isEmpty())
        return Outcome::refused(QStringLiteral("请输入密码"));
    if (password != repeat)
        return Outcome::refused(QStringLiteral("两次密码输入的不一致！！"));
    const QString hash = hashPassword(password);  // slow on purpose: outside the transaction
    return db_.write([&] {
        db_.serialise(kNameRule);
        if (find(name))
            return Outcome::refused(QStringLiteral("此用户名已经存在！！"));
        db_.run(QStringLiteral("insert into 登陆 (用户, 密码, 权限, right1, right2, right3, right4, right5, right6, right7, "
                               "right8, right9) values (:u, :p, '', :r, :r, :r, :r, :r, :r, :r, :r, :r)"),
                {{QStringLiteral("u"), name}, {QStringLiteral("p"), hash}, {QStringLiteral("r"), noRights()}});
        return Outcome::done();
    });
}

Outcome Operators::change(qint64 id, const QString& name, const QString& password, const QString& repeat,
                          QString* loggedIn)
{
    // Rows are found, edited and deleted by name: a second operator of the
    // same name would be changed and deleted together with the first.
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入用户名"));
    if (password != repeat)
        return Outcome::refused(QStringLiteral("两次密码输入的不一致！！"));
    const QString hash = password.isEmpty() ? QString() : hashPassword(password);
    QString before;
    const Outcome o = db_.write([&] {
        db_.serialise(kNameRule);
        before = db_.scalar(QStringLiteral("select 用户 from 登陆 where id=:id"), {{QStringLiteral("id"), id}}).toString();
        const QVariant other = db_.scalar(QStringLiteral("select id from 登陆 where 用户=:u and id<>:id"),
                                          {{QStringLiteral("u"), name}, {QStringLiteral("id"), id}});
        if (!other.isNull())
            return Outcome::refused(QStringLiteral("此用户名已经存在！！"));
        if (hash.isEmpty())
            db_.run(QStringLiteral("update 登陆 set 用户=:u, 权限='' where id=:id"),
                    {{QStringLiteral("u"), name}, {QStringLiteral("id"), id}});
        else
            db_.run(QStringLiteral("update 登陆 set 用户=:u, 密码=:p, 权限='' where id=:id"),
                    {{QStringLiteral("u"), name}, {QStringLiteral("p"), hash}, {QStringLiteral("id"), id}});
        return Outcome::done(QStringLiteral("修改完毕"));
    });
    if (o && loggedIn && !before.isEmpty() && before == *loggedIn)
        *loggedIn = name;
    return o;
}

Outcome Operators::remove(const QString& name, const QString& loggedIn)
{
    if (name == loggedIn)
        return Outcome::refused(QStringLiteral("不能删除自己"));
    db_.run(QStringLiteral("delete from 登陆 where 用户=:u"), {{QStringLiteral("u"), name}});
    return Outcome::done();
}

Outcome Operators::changePassword(const QString& loggedIn, const QString& oldPassword, const QString& newPassword,
                                  const QString& confirm)
{
    if (newPassword.isEmpty())
        return Outcome::refused(QStringLiteral("新密码不能为空！！"));
    if (newPassword != confirm)
        return Outcome::refused(QStringLiteral("两次输入的密码不相同！！"));
    const QString hash = hashPassword(newPassword);
    return db_.write([&] {
        const Rows q = db_.select(QStringLiteral("select id, 密码 from 登陆 where 用户=:u order by id"),
                                  {{QStringLiteral("u"), loggedIn}});
        std::optional<qint64> id;
        for (int i = 0; i < q.size() && !id; ++i)
            if (!q.value(i, 1).isNull() && passwordMatches(oldPassword, q.value(i, 1).toString()))
                id = q.value(i, 0).toLongLong();
        if (!id)
            return Outcome::refused(QStringLiteral("原密码错误！！"));
        db_.run(QStringLiteral("update 登陆 set 密码=:p where id=:id"), {{QStringLiteral("p"), hash}, {QStringLiteral("id"), *id}});
        return Outcome::done(QStringLiteral("密码修改成功！！"));
    });
}

} // namespace ts
