#include "storage/schema.h"

#include <utility>

namespace ts {

namespace {

// Short names for the column kinds keep each table readable as one column per
// line. Names arrive as UTF-8 literals because this file is UTF-8.
ColumnDef counter(const char* name) { return {QString::fromUtf8(name), ColKind::Counter, 0}; }
ColumnDef integer(const char* name) { return {QString::fromUtf8(name), ColKind::Integer, 0}; }
ColumnDef currency(const char* name) { return {QString::fromUtf8(name), ColKind::Currency, 0}; }
ColumnDef dateTime(const char* name) { return {QString::fromUtf8(name), ColKind::DateTime, 0}; }
ColumnDef yesNo(const char* name) { return {QString::fromUtf8(name), ColKind::YesNo, 0}; }
ColumnDef text(const char* name, int width = 50) { return {QString::fromUtf8(name), ColKind::Text, width}; }
ColumnDef memo(const char* name) { return {QString::fromUtf8(name), ColKind::Memo, 0}; }

TableDef table(const char* name, QList<ColumnDef> columns)
{
    return {QString::fromUtf8(name), std::move(columns)};
}

IndexDef index(const char* name, const char* table, const char* columns)
{
    return {QString::fromUtf8(name), QString::fromUtf8(table), QString::fromUtf8(columns), false};
}

QList<TableDef> buildTables()
{
    return {
        // ---- customers and calls ----
        table("客户资料", {
            counter("Id"),
            text("客户类型"),
            text("客户地区"),
            text("联系电话", 255),
            text("客户姓名"),
            text("客户单位"),
            text("身份证号"),
            text("生日"),
            text("联系地址", 255),
            text("小区域"),
            dateTime("最后订水时间"),
            text("手工编码"),
            text("备用1"),
            integer("洗机频率"),
            dateTime("最后洗机时间"),
            dateTime("下次洗机时间"),
            integer("订水总数量"),
            currency("订水总金额"),
            integer("订水总次数"),
            text("业务员"),
            currency("提成"),
            currency("预付款剩余"),
            currency("积分"),
        }),
        table("客户类型", {
            text("客户类型"),
            currency("提成"),
        }),
        table("区域", {
            text("区域"),
        }),
        table("小区域", {
            text("区域"),
            text("小区域"),
        }),
        table("特价表", {
            counter("ID"),
            integer("客户编号"),
            text("客户名称"),
            text("产品名称"),
            currency("特价"),
        }),
        // Nothing reads it; it exists so that clearing product data finds it.
        table("优惠单价", {
            counter("id"),
            text("产品名称"),
            currency("单价"),
        }),
        table("来电历史记录表", {
            counter("编号"),
            text("电话号码"),
            dateTime("来电时间"),
            text("客户名称"),
            text("客户编号"),  // text on purpose: holds "无" for unknown callers
            text("联系地址", 255),
            text("处理结果"),
            text("订单编号"),
            text("录音文件", 255),
        }),
        table("积分兑换记录", {
            integer("客户编号"),
            text("客户姓名"),
            dateTime("兑换日期"),
            text("兑换礼品"),
            currency("兑换积分"),
            text("备注", 255),
        }),
        table("预付款流水帐", {
            integer("客户编号"),
            text("客户姓名"),
            text("操作员"),
            dateTime("操作时间"),
            currency("充值金额"),
        }),

        // ---- orders ----
        table("产品销售开票", {
            counter("id"),
            text("单据编号"),
            dateTime("购物日期"),
            text("产品名称"),
            integer("数量"),
            currency("应付货款"),
            text("配送工"),
            integer("客户编号"),
            currency("提成"),
            currency("欠款"),
            text("区域"),
            text("地址", 255),
            text("电话"),
            text("时间"),
            text("收款方式"),
            text("客户姓名"),
            text("小区域"),
            currency("销售单价"),
            integer("已发数量"),
            yesNo("发货完毕"),
            integer("售前库存"),
            integer("售后库存"),
            yesNo("是否预约"),
            dateTime("预约时间"),
            text("发货备注", 255),
            yesNo("交款完毕"),
            text("手工编号"),
            text("操作员"),
            text("单位"),
            text("发货时间"),
            text("录音文件", 255),
            text("回单登记"),
            text("客户类型"),
            text("库房名称"),
            integer("订水间隔天数"),
            text("产品类型"),
            text("销售类型"),
            currency("实付货款"),
            integer("实付票数"),
            integer("签单数"),
            dateTime("签单日期"),
            text("签单人姓名"),
            dateTime("结算日期"),
            text("回桶名称"),
            integer("回桶数量"),
            integer("租桶数"),
            integer("借桶数"),
            currency("租桶押金"),
        }),
        // Every column is text, the numeric ones too: the order forms sum
        // 总金额 and 数量 and rely on the engine converting the text.
        table("销售临时表", {
            text("电话号码"),
            text("产品编号"),
            text("产品名称"),
            text("数量"),
            text("销售单价"),
            text("总金额"),
            text("提成"),
            text("产品类型"),
            // The program's own: a basket may hold one product twice, and
            // the table has no other way to tell its lines apart or keep
            // their order.
            integer("行号"),
        }),
        table("收款临时表", {
            text("产品名称"),
            integer("数量"),
            integer("借桶"),
            integer("租桶"),
            currency("租桶押金"),
            integer("空桶入库"),
            text("回桶名称"),
            text("单据编号"),
            integer("销售id"),
            currency("应付货款"),
        }),
        table("签单还款明细表", {
            text("产品名称"),
            integer("客户编号"),
            text("客户名称"),
            integer("数量"),
            dateTime("日期"),
            currency("金额"),
        }),
        table("签单还票明细表", {
            text("产品名称"),
            integer("客户编号"),
            text("客户名称"),
            integer("数量"),
            dateTime("日期"),
        }),

        // ---- products and stock ----
        table("产品列表", {
            counter("id"),
            text("产品编号"),
            text("产品类型"),
            text("产品名称"),
            text("产品单位"),
            currency("单价"),
            currency("进货价"),
            currency("水票优惠单价"),
            currency("业务员提成"),
        }),
        table("商品类型", {
            text("类型"),
        }),
        table("库房名称", {
            counter("id"),
            text("库房名称"),
        }),
        table("库存总表", {
            text("库房名称"),
            integer("产品编号"),
            text("产品名称"),
            text("规格"),
            currency("单价"),
            integer("数量"),
            currency("金额"),
            currency("业务员提成"),
        }),
        table("入库明细表", {
            integer("产品编号"),
            text("产品名称"),
            text("规格"),
            currency("单价"),
            integer("数量"),
            currency("金额"),
            text("原始单据编号"),
            dateTime("单据日期"),
            text("备注", 255),
            text("入库单号"),
            dateTime("入库时间"),
            text("库房名称"),
        }),
        table("出库明细表", {
            integer("产品编号"),
            text("产品名称"),
            currency("单价"),
            integer("数量"),
            currency("金额"),
            text("原始单据编号"),
            dateTime("单据日期"),
            text("备注", 255),
            text("出库单号"),
            dateTime("出库时间"),
            text("库房名称"),
        }),
        table("入库临时表", {
            integer("产品编号"),
            text("产品名称"),
            currency("单价"),
            integer("数量"),
            currency("金额"),
            text("规格"),
            currency("业务员提成"),
        }),
        table("出库临时表", {
            integer("产品编号"),
            text("产品名称"),
            currency("单价"),
            integer("数量"),
            currency("金额"),
        }),
        table("月结临时表", {
            text("产品名称"),
            integer("上月结存"),
            integer("本月入库"),
            integer("本月出库"),
            integer("本月销售"),
            integer("本月结存"),
            integer("结算年份"),
            integer("结算月份"),
        }),
        table("月结明细表", {
            text("产品名称"),
            integer("上月结存"),
            integer("本月入库"),
            integer("本月出库"),
            integer("本月销售"),
            integer("本月结存"),
            integer("结算年份"),
            integer("结算月份"),
        }),
        table("供货商列表", {
            text("供货商"),
            text("联系人"),
            text("电话"),
            text("手机"),
            text("地址", 255),
        }),

        // ---- water tickets and water cards ----
        table("水票库存表", {
            text("商品名称"),
            integer("数量"),
        }),
        table("客户水票总表", {
            counter("id"),
            integer("客户编号"),
            text("客户名称"),
            text("产品名称"),
            integer("还剩数量"),
        }),
        table("客户水卡总表", {
            integer("客户编号"),
            text("客户名称"),
            text("产品名称"),
            integer("还剩数量"),
            text("手工编号"),
            text("联系地址", 255),
        }),
        table("水票销售明细", {
            integer("客户编号"),
            text("商品名称"),
            integer("购买数量"),
            currency("应付货款"),
            currency("实付货款"),
            dateTime("时间"),
            text("客户名称"),
            text("时间编号"),
            currency("单价"),
            text("备注", 255),
            text("联系地址", 255),
            text("赠送水票名称"),
            integer("赠送水票数量"),
            text("赠送饮水机名称"),
            integer("赠送饮水机数量"),
            text("赠送饮水机库房"),
        }),
        table("水卡销售明细", {
            integer("客户编号"),
            text("商品名称"),
            integer("购买数量"),
            currency("应付货款"),
            currency("实付货款"),
            dateTime("时间"),
            text("客户名称"),
            text("时间编号"),
        }),
        table("水票回收表", {
            integer("客户编号"),
            text("客户姓名"),
            text("客户电话"),
            text("商品名称"),
            integer("回收数量"),
            text("收票人"),
            dateTime("日期"),
            text("时间"),
            currency("返还现金"),
        }),
        table("水票跟踪", {
            text("水票号码"),
            text("购买人"),
            text("销售人"),
            dateTime("购买时间"),
            integer("购买人编号"),
            text("购买人地址", 255),
            text("销售编号"),
            dateTime("消费时间"),
            text("消费人"),
            text("消费地址", 255),
            text("收票人"),
            text("单据编号"),
        }),
        table("水票登记表", {
            text("商品名称"),
            currency("单价"),
            integer("登记数量"),
            currency("金额"),
            text("起始号码"),
        }),
        table("水票打印临时表", {
            text("号码"),
        }),
        table("水票数量修改记录", {
            integer("客户编号"),
            text("客户名称"),
            text("产品名称"),
            integer("还剩数量"),
            integer("修改后数量"),
            text("修改原因", 255),
            dateTime("时间"),
        }),

        // ---- buckets ----
        // 出租桶 and 欠桶 carry the open balance that returns reduce; their
        // journals keep every movement unchanged, hence no id and no 未还数量.
        table("出租桶", {
            counter("id"),
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            dateTime("时间"),
            text("单据编号"),
            text("客户姓名"),
            text("联系地址", 255),
            text("联系电话"),
            text("客户地区"),
            currency("收取押金"),
            integer("未还数量"),
            text("库房名称"),
        }),
        table("出租桶明细", {
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            dateTime("时间"),
            text("单据编号"),
            text("客户姓名"),
            text("联系地址", 255),
            text("联系电话"),
            text("客户地区"),
            currency("收取押金"),
            text("库房名称"),
        }),
        table("欠桶", {
            counter("id"),
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            dateTime("时间"),
            text("单据编号"),
            text("客户姓名"),
            text("联系地址", 255),
            text("联系电话"),
            text("客户地区"),
            integer("未还数量"),
            text("库房名称"),
        }),
        table("欠桶明细表", {
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            dateTime("时间"),
            text("单据编号"),
            text("客户姓名"),
            text("联系地址", 255),
            text("联系电话"),
            text("客户地区"),
        }),
        table("还桶", {
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            dateTime("时间"),
            text("单据编号"),
            text("客户姓名"),
            text("联系地址", 255),
            text("联系电话"),
            text("客户地区"),
            text("库房名称"),
        }),
        table("回收桶", {
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            text("客户姓名"),
            text("联系地址", 255),
            text("联系电话"),
            text("客户地区"),
            currency("收取押金"),
            text("库房名称"),
            dateTime("收押金时间"),
            dateTime("回收桶时间"),
            currency("收取租金"),
            currency("返还押金"),
        }),
        // Only 时间 is ever named; the rest mirrors a loan row so the table
        // could hold one.
        table("欠桶转借表", {
            counter("id"),
            text("产品名称"),
            integer("客户编号"),
            integer("桶数"),
            dateTime("时间"),
            text("客户姓名"),
        }),
        table("空桶库存表", {
            text("库房名称"),
            text("产品名称"),
            integer("数量"),
        }),
        table("空桶入库明细表", {
            text("产品名称"),
            integer("数量"),
            dateTime("时间"),
            text("操作员"),
            text("库房名称"),
            text("订水单据编号"),
            integer("销售开票id"),
        }),
        table("空桶出库明细表", {
            text("产品名称"),
            integer("数量"),
            dateTime("时间"),
            text("操作员"),
            text("库房名称"),
            text("出库备注", 255),
        }),
        table("空桶入库临时表", {
            text("产品名称"),
            integer("数量"),
            text("操作员"),
        }),
        table("空桶出库临时表", {
            text("产品名称"),
            integer("数量"),
            text("操作员"),
        }),

        // ---- water dispensers ----
        table("饮水机销售", {
            text("品牌"),
            text("类型"),
            text("型号"),
            currency("单价"),
            integer("数量"),
            currency("金额"),
            integer("客户编号"),
            text("客户姓名"),
            text("联系电话"),
            text("联系地址", 255),
            dateTime("销售日期"),
            text("销售人员"),
            text("备注", 255),
        }),
        table("饮水机租借表", {
            counter("id"),
            text("品牌"),
            integer("数量"),
            integer("未还数量"),
            integer("客户编号"),
            text("客户姓名"),
            text("联系电话"),
            text("联系地址", 255),
            dateTime("日期"),
            currency("押金"),
            currency("租金"),
            text("租借人员"),
            text("备注", 255),
        }),
        table("饮水机租借明细表", {
            text("品牌"),
            integer("数量"),
            integer("客户编号"),
            text("客户姓名"),
            text("联系电话"),
            text("联系地址", 255),
            dateTime("日期"),
            currency("押金"),
            currency("租金"),
            text("租借人员"),
            text("备注", 255),
        }),
        table("饮水机归还明细表", {
            text("品牌"),
            text("型号"),
            integer("数量"),
            integer("客户编号"),
            text("客户姓名"),
            text("联系电话"),
            text("联系地址", 255),
            dateTime("租借日期"),
            dateTime("归还日期"),
            currency("押金"),
            currency("租金"),
            text("租借人员"),
        }),
        table("饮水机清洗记录表", {
            dateTime("日期"),
            integer("清洗台数"),
            currency("收取费用"),
            text("送水员"),
            currency("提成"),
            integer("客户编号"),
            text("客户名称"),
        }),

        // ---- money and closing ----
        table("费用登记表", {
            counter("编号"),
            text("资金名称"),
            currency("金额"),
            text("经手人"),
            dateTime("时间"),
            text("资金类型"),
            text("录入类型"),
            text("单据编号"),
            integer("开票id"),
        }),
        table("收入类别", {
            text("收入类别"),
        }),
        table("支出类别", {
            text("支出类别"),
        }),
        table("结帐总表", {
            dateTime("日期"),
            currency("总收入"),
            currency("总支出"),
            currency("送水收款"),
            currency("水票销售"),
            currency("收桶租金"),
            currency("收桶押金"),
            currency("收饮水机租金"),
            currency("收饮水机押金"),
            currency("饮水机销售"),
            currency("其他收入"),
            currency("退饮水机押金"),
            currency("退桶押金"),
            currency("水票回收支出"),
            currency("其他支出"),
            currency("收支余额"),
            dateTime("操作时间"),
            integer("今日送水"),
            integer("今日收票"),
            integer("今日签单"),
            integer("今日租桶"),
            integer("今日退桶"),
            integer("今日借桶"),
            integer("今日还桶"),
            integer("水票销售张数"),
            integer("水票回收"),
            integer("今日还票"),
            currency("饮水机清洗"),
            currency("空桶销售"),
        }),
        table("结帐明细表", {
            dateTime("日期"),
            text("产品名称"),
            integer("数量"),
            dateTime("操作时间"),
            text("库房名称"),
        }),
        table("空桶结账明细表", {
            dateTime("日期"),
            text("产品名称"),
            integer("数量"),
            dateTime("操作时间"),
            text("库房名称"),
        }),

        // ---- staff and operators ----
        table("员工列表", {
            text("姓名"),
            text("电话"),
            text("所用车辆"),
            text("配送提成"),
        }),
        table("业务员表", {
            text("姓名"),
        }),
        table("登陆", {
            counter("id"),
            text("用户"),
            // Wide enough for an Argon2 hash string, not just a typed password.
            text("密码", 255),
            text("权限"),
            text("right1"),
            text("right2"),
            text("right3"),
            text("right4"),
            text("right5"),
            text("right6"),
            text("right7"),
            text("right8"),
            text("right9"),
        }),

        // ---- one-row settings ----
        table("提成方式", {
            text("方式"),
        }),
        table("串口编号", {
            integer("编号"),
        }),
        table("来电路数", {
            text("路数"),
        }),
        table("录音设备", {
            text("录音设备"),
            integer("路数"),
        }),
        table("颜色显示", {
            yesNo("需要颜色"),
        }),
        table("未订水提醒天数", {
            integer("超时天数"),
            yesNo("包含未订水"),
        }),
        table("预约设置", {
            integer("提前分钟"),
            integer("间隔分钟"),
        }),
        table("饮水机清洗提醒", {
            integer("天数"),
        }),
        table("短信帐户", {
            text("用户名"),
            text("密码"),
            text("短信尾", 255),
            text("网关"),
        }),

        // ---- messages and schema upgrades ----
        table("fasongneirong", {
            counter("zdid"),
            memo("neirong"),
            text("shouji"),
            text("xingming"),
            text("fssj"),
            yesNo("fasongwanbi"),
            text("zt", 255),
            text("ygid"),
        }),
        table("命令表", {
            integer("版本号"),
            memo("sql语句"),
        }),
        table("版本号", {
            text("版本号"),
        }),
        // The program's own schema changes, apart from 命令表's statements.
        table("程序结构版本", {
            integer("版本"),
        }),
    };
}

QList<IndexDef> buildIndexes()
{
    return {
        // Incoming calls and the order forms find customers by any of these.
        index("ix_kehu_phone", "客户资料", "联系电话"),
        index("ix_kehu_name", "客户资料", "客户姓名"),
        index("ix_kehu_address", "客户资料", "联系地址"),
        index("ix_kehu_code", "客户资料", "手工编码"),
        index("ix_kehu_district", "客户资料", "客户地区"),

        // An order is the set of its lines, so nearly every order operation
        // selects by document number; the lists filter by the dates.
        index("ix_xiaoshou_doc", "产品销售开票", "单据编号"),
        index("ix_xiaoshou_day", "产品销售开票", "购物日期"),
        // The customer load reads a customer's last line and his lines on
        // IOU: the first from the id's end of his lines (PostgreSQL would
        // otherwise step back through every line of the table until one is
        // his), the second from the index alone.
        index("ix_xiaoshou_customer_id", "产品销售开票", "客户编号, id"),
        index("ix_xiaoshou_customer_iou", "产品销售开票", "客户编号, 收款方式, 签单数"),
        index("ix_xiaoshou_settled", "产品销售开票", "结算日期"),
        index("ix_xiaoshou_iou_day", "产品销售开票", "签单日期"),

        index("ix_calls_phone", "来电历史记录表", "电话号码"),
        index("ix_calls_order", "来电历史记录表", "订单编号"),

        index("ix_stock_product", "库存总表", "产品名称, 库房名称"),
        index("ix_products_name", "产品列表", "产品名称"),
        index("ix_special_customer", "特价表", "客户编号"),

        index("ix_tickets_customer", "客户水票总表", "客户编号, 产品名称"),
        index("ix_cards_customer", "客户水卡总表", "客户编号, 产品名称"),
        index("ix_ticket_number", "水票跟踪", "水票号码"),
        index("ix_ticket_sale", "水票跟踪", "销售编号"),
        index("ix_ticket_sales_key", "水票销售明细", "时间编号"),
        index("ix_card_sales_key", "水卡销售明细", "时间编号"),

        // Document numbers are allocated from the maximum per warehouse and
        // documents are listed by number.
        index("ix_stock_in_doc", "入库明细表", "入库单号"),
        index("ix_stock_out_doc", "出库明细表", "出库单号"),

        index("ix_rented_customer", "出租桶", "客户编号"),
        index("ix_lent_customer", "欠桶", "客户编号"),
        index("ix_empty_stock", "空桶库存表", "库房名称, 产品名称"),
        index("ix_dispenser_loan_customer", "饮水机租借表", "客户编号"),

        index("ix_ledger_day", "费用登记表", "时间"),
        index("ix_ledger_doc", "费用登记表", "单据编号"),

        // The day's figures of the order board sum each day book by its date.
        index("ix_rented_day", "出租桶明细", "时间"),
        index("ix_unrented_day", "回收桶", "回收桶时间"),
        index("ix_lent_day", "欠桶明细表", "时间"),
        index("ix_returned_day", "还桶", "时间"),
        index("ix_ticket_sales_day", "水票销售明细", "时间"),
        index("ix_tickets_collected_day", "水票回收表", "日期"),
        index("ix_iou_tickets_day", "签单还票明细表", "日期"),
        index("ix_iou_money_day", "签单还款明细表", "日期"),

        index("ix_basket_key", "销售临时表", "电话号码"),
        index("ix_login_user", "登陆", "用户"),
        index("ix_sms_sent", "fasongneirong", "fasongwanbi"),
    };
}

} // namespace

const QList<TableDef>& schemaTables()
{
    static const QList<TableDef> tables = buildTables();
    return tables;
}

const QList<IndexDef>& schemaIndexes()
{
    static const QList<IndexDef> indexes = buildIndexes();
    return indexes;
}

} // namespace ts
