#include "customers/Ukehu_list.h"

#include "app/app_context.h"
#include "customers/Ukehu_add.h"
#include "customers/customer_picker.h"
#include "customers/customer_spreadsheet.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace ts {

namespace {

const QString kNoData = QStringLiteral("没有找到任何数据！！");
const QString kTemplate = QStringLiteral("客户模板.xlsx");

// The grid's columns: the customer's number first, then what the operator
// looks at most; vidi stations hide columns by these names.
const QStringList& gridColumns()
{
    static const QStringList columns =
        QStringLiteral("id,客户姓名,联系电话,客户地区,小区域,联系地址,客户类型,积分,客户单位,手工编码,最后订水时间,"
                       "预付款剩余,生日,备用1,洗机频率,最后洗机时间,下次洗机时间,身份证号,业务员,提成,订水总数量,"
                       "订水总次数,订水总金额")
            .split(QLatin1Char(','));
    return columns;
}

} // namespace

std::map<QString, Tkehu_list::CustomerAction>& Tkehu_list::actions()
{
    static std::map<QString, CustomerAction> registered;
    return registered;
}

void Tkehu_list::setCustomerAction(const QString& entry, CustomerAction action)
{
    actions()[entry] = std::move(action);
}

void Tkehu_list::pick(const QString& mode, QWidget* parent, const CustomerFilter& preset)
{
    auto* list = FormRegistry::instance().get<Tkehu_list>();
    if (!list)
        return;
    // Closing empties the search boxes; a list already open is closed
    // first, so that the preset is what the opening searches by.
    if (list->isVisible())
        list->hide();
    list->name_->setText(preset.name);
    list->phone_->setText(preset.phone);
    list->code_->setText(preset.code);
    list->address_->setText(preset.address);
    list->setPickMode(mode);
    execOver(list, parent);
}

Tkehu_list::Tkehu_list(QWidget* parent)
    : Form(parent)
{
    setObjectName(QStringLiteral("Tkehu_list"));
    setWindowTitle(QStringLiteral("客户资料"));
    resize(1000, 640);

    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("客户操作"));
    const QList<QPair<QString, void (Tkehu_list::*)()>> entries{
        {QStringLiteral("新建客户"), &Tkehu_list::newCustomer},
        {QStringLiteral("删除客户"), &Tkehu_list::deleteCustomer},
        {QStringLiteral("修改客户"), &Tkehu_list::editCustomer},
        {QStringLiteral("从excel导入"), &Tkehu_list::importCustomers},
        {QStringLiteral("导出到excel文件"), &Tkehu_list::exportCustomers},
        {QStringLiteral("导入须知"), &Tkehu_list::importNotes}};
    for (const auto& [caption, slot] : entries) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(caption);
        connect(a, &QAction::triggered, this, slot);
        if (slot == &Tkehu_list::importCustomers || slot == &Tkehu_list::exportCustomers)
            spreadsheetActions_ << a;
    }
    QAction* quit = menu->addAction(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("退出菜单"));
    connect(quit, &QAction::triggered, this, &QDialog::reject);

    auto* search = new QWidget(this);
    name_ = makeLineEdit(QStringLiteral("客户姓名"), search);
    phone_ = makeLineEdit(QStringLiteral("联系电话"), search);
    code_ = makeLineEdit(QStringLiteral("手工编码"), search);
    address_ = makeLineEdit(QStringLiteral("联系地址"), search);
    company_ = makeLineEdit(QStringLiteral("客户单位"), search);
    // Enter in a search box searches, as the operator expects of a box
    // beside a 查询 button.
    for (QLineEdit* e : {name_, phone_, code_, address_, company_})
        connect(e, &QLineEdit::returnPressed, this, &Tkehu_list::search);
    region_ = makeComboBox(QStringLiteral("一级区域"), search);
    subArea_ = makeComboBox(QStringLiteral("二级区域"), search);
    type_ = makeComboBox(QStringLiteral("客户类型"), search);
    period_ = makeCheckBox(QStringLiteral("最后订水时间区间从"), search);
    from_ = makeDateEdit(QStringLiteral("起始日期"), search);
    to_ = makeDateEdit(QStringLiteral("到"), search);
    noCommission_ = makeCheckBox(QStringLiteral("按客户提成无送水提成的客户"), search);
    byLastOrder_ = makeCheckBox(QStringLiteral("按最后订水时间排序"), search);
    connect(region_, &QComboBox::currentTextChanged, this, &Tkehu_list::fillSubAreas);

    auto* g = new QGridLayout(search);
    g->setContentsMargins(0, 0, 0, 0);
    auto put = [&](int row, int col, const QString& label, QWidget* w) {
        g->addWidget(new QLabel(label, search), row, col * 2);
        g->addWidget(w, row, col * 2 + 1);
    };
    put(0, 0, QStringLiteral("客户姓名"), name_);
    put(0, 1, QStringLiteral("联系电话"), phone_);
    put(0, 2, QStringLiteral("手工编码"), code_);
    put(0, 3, QStringLiteral("客户类型"), type_);
    put(1, 0, QStringLiteral("联系地址"), address_);
    put(1, 1, QStringLiteral("客户单位"), company_);
    put(1, 2, QStringLiteral("一级区域"), region_);
    put(1, 3, QStringLiteral("二级区域"), subArea_);
    auto* period = new QHBoxLayout;
    period->addWidget(period_);
    period->addWidget(from_);
    period->addWidget(new QLabel(QStringLiteral("到"), search));
    period->addWidget(to_);
    period->addSpacing(16);
    period->addWidget(byLastOrder_);
    period->addWidget(noCommission_);
    period->addStretch();
    g->addLayout(period, 2, 0, 1, 8);

    auto* query = makeButton(QStringLiteral("查询"), [this] { this->search(); }, this);
    auto* summary = makeButton(QStringLiteral("各区域汇总"), [this] { showRegionSummary(); }, this);
    auto* add = makeButton(QStringLiteral("新建"), [this] { newCustomer(); }, this);
    auto* edit = makeButton(QStringLiteral("修改"), [this] { editCustomer(); }, this);
    auto* remove = makeButton(QStringLiteral("删除"), [this] { deleteCustomer(); }, this);
    follow_ = makeButton(QStringLiteral("客户追踪"), [this] { runCustomerAction(QStringLiteral("客户追踪")); }, this);
    import_ = makeButton(QStringLiteral("excel文件成批导入"), [this] { importCustomers(); }, this);
    export_ = makeButton(QStringLiteral("导出至excel文件"), [this] { exportCustomers(); }, this);
    auto* notes = makeButton(QStringLiteral("导入须知"), [this] { importNotes(); }, this);
    auto* close = makeButton(QStringLiteral("退出"), [this] { reject(); }, this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {query, summary, add, edit, remove, follow_, import_, export_, notes, close})
        buttons->addWidget(b);
    buttons->addStretch();

    grid_ = new DataGrid(this);
    grid_->setObjectName(QStringLiteral("客户列表"));
    grid_->setColumns(gridColumns());
    grid_->setSortable(true);
    grid_->setTitle(QStringLiteral("id"), QStringLiteral("客户编号"));
    grid_->setTitle(QStringLiteral("客户地区"), QStringLiteral("一级区域"));
    grid_->setTitle(QStringLiteral("小区域"), QStringLiteral("二级区域"));
    grid_->setTitle(QStringLiteral("积分"), QStringLiteral("可用积分"));
    grid_->setTitle(QStringLiteral("备用1"), QStringLiteral("备注"));
    grid_->setTitle(QStringLiteral("洗机频率"), QStringLiteral("洗机频率(天)"));
    summary_ = new DataGrid(this);
    summary_->setObjectName(QStringLiteral("各区域汇总表"));
    summary_->setTitle(QStringLiteral("客户地区"), QStringLiteral("一级地区"));
    summary_->setTitle(QStringLiteral("cc"), QStringLiteral("客户总数"));
    stack_ = new QStackedWidget(this);
    stack_->addWidget(grid_);
    stack_->addWidget(summary_);

    tickets_ = new DataGrid(this);
    tickets_->setObjectName(QStringLiteral("客户剩余水票情况"));
    tickets_->setColumns({QStringLiteral("产品名称"), QStringLiteral("还剩数量")});
    tickets_->setFooterText(QStringLiteral("产品名称"), QStringLiteral("数量合计："));
    tickets_->setFooterSum(QStringLiteral("还剩数量"));
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("客户剩余水票情况"), this));
    side->addWidget(tickets_);
    connect(grid_, &DataGrid::currentRowChanged, this, &Tkehu_list::showTickets);
    connect(grid_, &DataGrid::rowDoubleClicked, this, [this](int row) { pickRow(row, false); });
    grid_->view()->installEventFilter(this);

    popup_ = new QMenu(this);
    for (const char* entry : {"手工开单", "水票销售", "水票回收", "空桶出租", "空桶回收", "客户追踪", "预交货款"}) {
        const QString caption = QString::fromUtf8(entry);
        QAction* a = popup_->addAction(caption);
        a->setObjectName(caption);
        connect(a, &QAction::triggered, this, [this, caption] { runCustomerAction(caption); });
    }
    grid_->view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_->view(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        for (QAction* a : popup_->actions())
            a->setEnabled(actions().count(a->objectName()) != 0);
        popup_->popup(grid_->view()->viewport()->mapToGlobal(at));
    });

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("查询结果"));

    auto* body = new QHBoxLayout;
    body->addWidget(stack_, 5);
    body->addLayout(side, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(search);
    layout->addLayout(buttons);
    layout->addLayout(body, 1);
    layout->addWidget(count_);
}

CustomerFilter Tkehu_list::filter() const
{
    CustomerFilter f;
    f.name = name_->text();
    f.phone = phone_->text();
    f.code = code_->text();
    f.region = region_->currentText();
    f.subArea = subArea_->currentText();
    f.type = type_->currentText();
    f.address = address_->text();
    f.company = company_->text();
    f.periodOn = period_->isChecked();
    f.from = from_->date();
    f.to = to_->date();
    f.withoutCommission = !noCommission_->isHidden() && noCommission_->isChecked();
    f.byLastOrder = byLastOrder_->isChecked();
    return f;
}

void Tkehu_list::reload()
{
    const LoginValues& login = LoginValues::current();
    const bool vidi = login.specialRequirement == QStringLiteral("vidi");
    for (const char* field : {"积分", "客户单位", "备用1", "洗机频率", "最后洗机时间"})
        grid_->setColumnHidden(QString::fromUtf8(field), vidi);
    // Like the menu entries, a button whose window is not part of the
    // program yet does nothing and says so by being off.
    follow_->setEnabled(actions().count(QStringLiteral("客户追踪")) != 0);
    import_->setEnabled(login.allows(1, 8));
    export_->setEnabled(login.allows(1, 8));
    // The menu must not be a way round the buttons.
    for (QAction* a : spreadsheetActions_)
        a->setEnabled(login.allows(1, 8));
    from_->setDate(QDate::currentDate());
    to_->setDate(QDate::currentDate());
    noCommission_->setChecked(false);
    noCommission_->setVisible(login.commissionMethod == QStringLiteral("客户地区")
                              || login.commissionMethod == QStringLiteral("客户类型"));

    CustomerList list(appDb());
    list.fillEmptyCodes();
    runSearch(filter().onOpening());
    // The choices follow the search: choosing a region must not search yet.
    const QString region = region_->currentText();
    const QString type = type_->currentText();
    {
        const QSignalBlocker block(region_);
        region_->clear();
        region_->addItem(QString());
        region_->addItems(list.regions());
        region_->setCurrentIndex(std::max(0, region_->findText(region)));
    }
    type_->clear();
    type_->addItem(QString());
    type_->addItems(list.types());
    type_->setCurrentIndex(std::max(0, type_->findText(type)));
    fillSubAreas();
}

void Tkehu_list::hideEvent(QHideEvent* event)
{
    // The next opening starts from the whole list; the picker mode stays
    // as its caller set it. Minimising is no closing: the restored window
    // is not searched again, so its boxes must still match its rows.
    if (event->spontaneous()) {
        Form::hideEvent(event);
        return;
    }
    for (QLineEdit* e : {name_, phone_, code_, address_, company_})
        e->clear();
    region_->setCurrentIndex(0);
    subArea_->setCurrentIndex(0);
    type_->setCurrentIndex(0);
    period_->setChecked(false);
    byLastOrder_->setChecked(false);
    Form::hideEvent(event);
}

void Tkehu_list::fillSubAreas()
{
    subArea_->clear();
    subArea_->addItem(QString());
    if (!region_->currentText().isEmpty())
        runAction(this, [this] { subArea_->addItems(CustomerList(appDb()).subAreas(region_->currentText())); });
}

void Tkehu_list::runSearch(const CustomerFilter& f, qint64 keepId, bool toLast)
{
    if (!runAction(this, [&] { grid_->load(appDb(), CustomerList(appDb()).search(f)); }))
        return;
    stack_->setCurrentWidget(grid_);
    count_->setText(CustomerList::countText(grid_->rowCount()));
    int row = grid_->rowCount() > 0 ? 0 : -1;
    if (toLast)
        row = grid_->rowCount() - 1;
    if (keepId != 0) {
        const int kept = grid_->findRow(QStringLiteral("id"), keepId);
        if (kept >= 0)
            row = kept;
    }
    if (row >= 0)
        grid_->setCurrentRow(row);
    showTickets(row);
}

void Tkehu_list::search()
{
    runSearch(filter());
}

void Tkehu_list::showRegionSummary()
{
    runAction(this, [this] {
        summary_->load(CustomerList(appDb()).regionSummary());
        stack_->setCurrentWidget(summary_);
    });
}

void Tkehu_list::showTickets(int row)
{
    if (row < 0) {
        tickets_->closeData();
        return;
    }
    runAction(this, [&] {
        tickets_->load(CustomerList(appDb()).remainingTickets(grid_->value(row, QStringLiteral("id")).toLongLong()));
    });
}

qint64 Tkehu_list::currentId() const
{
    const int row = grid_->currentRow();
    return row < 0 ? 0 : grid_->value(row, QStringLiteral("id")).toLongLong();
}

void Tkehu_list::newCustomer()
{
    qint64 saved = 0;
    runAction(this, [&] {
        Tkehu_add form(0, this);
        execOver(&form, this);
        saved = form.savedId();
    });
    // The customer saved last is the one the operator looks for.
    runSearch(filter(), saved, true);
}

void Tkehu_list::editCustomer()
{
    if (grid_->rowCount() == 0 || currentId() == 0) {
        Messages::instance().information(this, kNoData);
        return;
    }
    const qint64 id = currentId();
    runAction(this, [&] {
        Tkehu_add form(id, this);
        execOver(&form, this);
    });
    runSearch(filter(), id);
}

void Tkehu_list::deleteCustomer()
{
    if (!Messages::instance().question(this, LoginValues::current().companyShortName + QStringLiteral("rivodaz"),
                                       QStringLiteral("如果删除该客户，该客户对应的所有信息将全部丢失，确实删除该客户吗？")))
        return;
    if (grid_->rowCount() == 0 || currentId() == 0) {
        Messages::instance().information(this, kNoData);
        return;
    }
    const int row = grid_->currentRow();
    if (!runAction(this, [this] { CustomerList(appDb()).remove(currentId()); }))
        return;
    runSearch(filter());
    if (grid_->rowCount() > 0)
        grid_->setCurrentRow(std::min(row, grid_->rowCount() - 1));
}

void Tkehu_list::pickRow(int row, bool typing)
{
    if (pickMode_.isEmpty() || row < 0)
        return;
    const qint64 id = grid_->value(row, QStringLiteral("id")).toLongLong();
    const auto how = typing ? PickedCustomer::How::Typing : PickedCustomer::How::DoubleClick;
    bool picked = false;
    runAction(this, [&] { picked = CustomerPicker::instance().pick(appDb(), pickMode_, id, how); });
    if (picked)
        reject();
}

void Tkehu_list::runCustomerAction(const QString& entry)
{
    if (grid_->rowCount() == 0 || currentId() == 0) {
        Messages::instance().information(this, entry == QStringLiteral("客户追踪") ? QStringLiteral("没有选择任何客户！！")
                                                                               : kNoData);
        return;
    }
    const auto it = actions().find(entry);
    if (it == actions().end())
        return;
    const qint64 id = currentId();
    const CustomerAction action = it->second;
    if (!runAction(this, [&] { action(CustomerList(appDb()).customer(id), this); }))
        return;
    // A prepayment changes the balance the list shows.
    if (entry == QStringLiteral("预交货款"))
        runSearch(filter(), id);
}

bool Tkehu_list::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_->view() && event->type() == QEvent::KeyPress && CustomerPicker::picksOnTyping(pickMode_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && grid_->currentRow() >= 0) {
            pickRow(grid_->currentRow(), true);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void Tkehu_list::exportCustomers()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出至excel文件"),
                                                      QDir::home().filePath(QStringLiteral("客户资料.xlsx")),
                                                      QStringLiteral("Excel文件 (*.xlsx)"));
    if (path.isEmpty())
        return;
    // One read of the whole list in the order shown, not a page at a time.
    const Rows shown = grid_->allRows();
    QList<QVariantList> rows;
    rows.reserve(shown.size());
    const QStringList fields = CustomerList::fields();
    for (int r = 0; r < shown.size(); ++r) {
        QVariantList row;
        for (const QString& f : fields)
            row << shown.value(r, f);
        rows << row;
    }
    QProgressDialog progress(QStringLiteral("正在导出客户资料……"), QStringLiteral("取消"), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const Outcome o = runAction(this, [&] {
        return CustomerSpreadsheet::exportRows(path, fields, rows, [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    });
    progress.reset();
    if (o)
        Messages::instance().information(this, QStringLiteral("导出完毕"));
}

void Tkehu_list::importNotes()
{
    Messages::instance().information(
        this, QStringLiteral("导入的excel文件格式如以下的例子，注意您的excel文件的第一行的标题要和示例excel文件的第一行相同，"
                             "excel表里联系地址不可为空，否则数据会自动中断导入"));
    openWithDesktop(this, QUrl::fromLocalFile(QDir(programDir()).filePath(kTemplate)));
}

void Tkehu_list::importCustomers()
{
    Messages::instance().information(
        this, QStringLiteral("注意数据量过大时，请等待长一点时间，程序遇到地址为空的记录会自动停止，请务必保证地址不能为空"));
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("excel文件成批导入"), QDir::homePath(),
                                                      QStringLiteral("Excel文件 (*.xlsx *.xls)"));
    if (path.isEmpty())
        return;
    QProgressDialog progress(QStringLiteral("正在导入客户资料……"), QStringLiteral("取消"), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const Outcome o = runAction(this, [&] {
        return CustomerSpreadsheet(appDb()).importFile(path, [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    });
    progress.reset();
    if (o)
        Messages::instance().information(this, o.message);
    CustomerFilter all;
    all.byLastOrder = byLastOrder_->isChecked();
    runSearch(all);
}

} // namespace ts
