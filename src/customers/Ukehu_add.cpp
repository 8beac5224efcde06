#include "customers/Ukehu_add.h"

#include "app/app_context.h"
#include "customers/customer_list.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ts {

namespace {

QLineEdit* lineEdit(const QString& name, QWidget* parent)
{
    return makeLineEdit(name, parent);
}

QComboBox* comboBox(const QString& name, QWidget* parent)
{
    return makeComboBox(name, parent);
}

// Enter belongs to the input chain; only 确定 reacts to it, at its end.
QPushButton* button(const QString& caption, QWidget* parent)
{
    return makeButton(caption, {}, parent);
}

} // namespace

Tkehu_add::Tkehu_add(qint64 customerId, QWidget* parent)
    : QDialog(parent)
    , customerId_(customerId)
    , mayEditPoints_(LoginValues::current().allowsStrict(2, 15))
{
    setObjectName(QStringLiteral("Tkehu_add"));
    setWindowTitle(QStringLiteral("客户管理"));

    pages_ = new QTabWidget(this);
    pages_->addTab(buildBasicPage(), QStringLiteral("基本信息"));
    pages_->addTab(buildPricePage(), QStringLiteral("特价信息"));
    ticketPage_ = buildTicketPage();
    if (customerId_ == 0) {
        pages_->addTab(ticketPage_, QStringLiteral("水票销售"));
    } else {
        // Owned by the form until 确定并录入新的客户 puts it on a tab.
        ticketPage_->setParent(this);
        ticketPage_->hide();
    }
    connect(pages_, &QTabWidget::currentChanged, this, &Tkehu_add::pageChanged);

    ok_ = button(QStringLiteral("确定"), this);
    okNext_ = button(QStringLiteral("确定并录入新的客户"), this);
    cancel_ = button(QStringLiteral("取消"), this);
    connect(ok_, &QPushButton::clicked, this, &Tkehu_add::saveAndClose);
    connect(okNext_, &QPushButton::clicked, this, &Tkehu_add::saveAndNext);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    // Saving and going on clears the form; this line says it was saved.
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("保存结果"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(ok_);
    buttons->addWidget(okNext_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    enterOrder_ = {type_, name_, address_, phone_, region_, subArea_, idNumber_, birthday_, note_, cleaningDays_,
                   salesperson_, commission_, ok_};
    for (QWidget* w : enterOrder_)
        w->installEventFilter(this);
    // Inputs outside the chain still move on with Enter, to where it resumes.
    code_->installEventFilter(this);
    company_->installEventFilter(this);
    points_->installEventFilter(this);

    fillChoices();
    if (customerId_ != 0) {
        if (auto c = CustomerRecords(appDb()).load(customerId_)) {
            showCustomer(*c);
            nameAtOpening_ = c->name;
            savedId_ = customerId_;
        }
    } else {
        startNewCustomer();
    }
    type_->setFocus();
}

QWidget* Tkehu_add::buildBasicPage()
{
    auto* page = new QWidget;
    auto* required = new QGroupBox(QStringLiteral("必填项"), page);
    required->setObjectName(QStringLiteral("必填项"));
    type_ = comboBox(QStringLiteral("客户类型"), required);
    name_ = lineEdit(QStringLiteral("客户姓名"), required);
    address_ = lineEdit(QStringLiteral("地址"), required);
    phone_ = lineEdit(QStringLiteral("电话"), required);
    region_ = comboBox(QStringLiteral("一级"), required);
    subArea_ = comboBox(QStringLiteral("二级"), required);
    code_ = lineEdit(QStringLiteral("手工编码"), required);
    points_ = lineEdit(QStringLiteral("积分"), required);
    points_->setValidator(moneyValidator(points_));
    auto* rf = new QFormLayout(required);
    rf->addRow(QStringLiteral("客户类型"), type_);
    rf->addRow(QStringLiteral("客户姓名"), name_);
    rf->addRow(QStringLiteral("地址"), address_);
    rf->addRow(QStringLiteral("电话"), phone_);
    auto* regions = new QHBoxLayout;
    regions->addWidget(region_);
    regions->addWidget(new QLabel(QStringLiteral("二级"), required));
    regions->addWidget(subArea_);
    rf->addRow(QStringLiteral("一级"), regions);
    rf->addRow(QStringLiteral("手工编码"), code_);
    rf->addRow(QStringLiteral("积分"), points_);
    connect(region_, &QComboBox::currentTextChanged, this, &Tkehu_add::fillSubAreas);

    auto* optional = new QGroupBox(QStringLiteral("选填项"), page);
    optional->setObjectName(QStringLiteral("选填项"));
    company_ = lineEdit(QStringLiteral("客户单位"), optional);
    idNumber_ = lineEdit(QStringLiteral("身份证号"), optional);
    birthday_ = lineEdit(QStringLiteral("生日"), optional);
    note_ = lineEdit(QStringLiteral("备注"), optional);
    cleaningDays_ = lineEdit(QStringLiteral("饮水机清洗频率"), optional);
    cleaningDays_->setValidator(new QIntValidator(0, 36500, cleaningDays_));
    salesperson_ = comboBox(QStringLiteral("业务员"), optional);
    commission_ = lineEdit(QStringLiteral("送水提成"), optional);
    commission_->setValidator(moneyValidator(commission_));
    auto* of = new QFormLayout(optional);
    of->addRow(QStringLiteral("客户单位"), company_);
    of->addRow(QStringLiteral("身份证号"), idNumber_);
    of->addRow(QStringLiteral("生日"), birthday_);
    of->addRow(QStringLiteral("备注"), note_);
    auto* days = new QHBoxLayout;
    days->addWidget(cleaningDays_);
    days->addWidget(new QLabel(QStringLiteral("天"), optional));
    of->addRow(QStringLiteral("饮水机清洗频率"), days);
    of->addRow(QStringLiteral("业务员"), salesperson_);
    of->addRow(QStringLiteral("送水提成"), commission_);
    auto* hint = new QLabel(QStringLiteral("提成方式设置为按客户或者区域才能参与计算"), optional);
    hint->setStyleSheet(QStringLiteral("color: red"));
    of->addRow(QString(), hint);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(required);
    layout->addWidget(optional);
    return page;
}

QWidget* Tkehu_add::buildPricePage()
{
    auto* page = new QWidget;
    products_ = new DataGrid(page);
    products_->setObjectName(QStringLiteral("产品列表"));
    products_->setColumns({QStringLiteral("产品编号"), QStringLiteral("产品名称"), QStringLiteral("单价")});
    prices_ = new DataGrid(page);
    prices_->setObjectName(QStringLiteral("特价列表"));
    prices_->setColumns({QStringLiteral("产品名称"), QStringLiteral("特价")});
    priceProduct_ = lineEdit(QStringLiteral("产品名称"), page);
    priceProduct_->setReadOnly(true);
    price_ = lineEdit(QStringLiteral("特价"), page);
    price_->setValidator(moneyValidator(price_));
    auto* add = button(QStringLiteral("新增"), page);
    auto* remove = button(QStringLiteral("删除"), page);
    connect(add, &QPushButton::clicked, this, &Tkehu_add::addPrice);
    connect(remove, &QPushButton::clicked, this, &Tkehu_add::removePrice);
    connect(products_, &DataGrid::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        priceProduct_->setText(products_->text(row, QStringLiteral("产品名称")));
        price_->setText(products_->text(row, QStringLiteral("单价")));
    });

    auto* edit = new QHBoxLayout;
    edit->addWidget(new QLabel(QStringLiteral("产品名称"), page));
    edit->addWidget(priceProduct_);
    edit->addWidget(new QLabel(QStringLiteral("特价"), page));
    edit->addWidget(price_);
    edit->addWidget(add);
    edit->addWidget(remove);
    auto* grids = new QHBoxLayout;
    grids->addWidget(products_, 3);
    grids->addWidget(prices_, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grids);
    layout->addLayout(edit);
    return page;
}

QWidget* Tkehu_add::buildTicketPage()
{
    auto* page = new QWidget;
    sell_ = new QCheckBox(QStringLiteral("水票销售"), page);
    sell_->setObjectName(QStringLiteral("水票销售"));
    saleBox_ = new QGroupBox(page);
    ticketKind_ = comboBox(QStringLiteral("商品名称"), saleBox_);
    unitPrice_ = lineEdit(QStringLiteral("单价"), saleBox_);
    quantity_ = lineEdit(QStringLiteral("购买数量"), saleBox_);
    due_ = lineEdit(QStringLiteral("应付货款"), saleBox_);
    paid_ = lineEdit(QStringLiteral("实付货款"), saleBox_);
    saleNote_ = lineEdit(QStringLiteral("销售备注"), saleBox_);
    unitPrice_->setValidator(moneyValidator(unitPrice_));
    quantity_->setValidator(new QIntValidator(0, 1000000, quantity_));
    due_->setValidator(moneyValidator(due_));
    paid_->setValidator(moneyValidator(paid_));
    auto* sf = new QFormLayout(saleBox_);
    sf->addRow(QStringLiteral("商品名称"), ticketKind_);
    sf->addRow(QStringLiteral("单价"), unitPrice_);
    sf->addRow(QStringLiteral("购买数量"), quantity_);
    sf->addRow(QStringLiteral("应付货款"), due_);
    sf->addRow(QStringLiteral("实付货款"), paid_);
    sf->addRow(QStringLiteral("销售备注"), saleNote_);
    connect(ticketKind_, &QComboBox::currentTextChanged, this, &Tkehu_add::ticketKindChosen);

    tracking_ = new QCheckBox(QStringLiteral("水票跟踪"), saleBox_);
    tracking_->setObjectName(QStringLiteral("水票跟踪"));
    sf->addRow(QString(), tracking_);
    trackingBox_ = new QGroupBox(page);
    prefix_ = lineEdit(QStringLiteral("前缀"), trackingBox_);
    from_ = lineEdit(QStringLiteral("从"), trackingBox_);
    to_ = lineEdit(QStringLiteral("到"), trackingBox_);
    numbers_ = new QListWidget(trackingBox_);
    numbers_->setObjectName(QStringLiteral("水票号码"));
    numbers_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* add = button(QStringLiteral("添加"), trackingBox_);
    auto* remove = button(QStringLiteral("删除"), trackingBox_);
    auto* clear = button(QStringLiteral("清空"), trackingBox_);
    connect(add, &QPushButton::clicked, this, &Tkehu_add::addTicketNumbers);
    connect(remove, &QPushButton::clicked, this, &Tkehu_add::removeTicketNumbers);
    connect(clear, &QPushButton::clicked, numbers_, &QListWidget::clear);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("前缀"), trackingBox_));
    range->addWidget(prefix_);
    range->addWidget(new QLabel(QStringLiteral("从"), trackingBox_));
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("到"), trackingBox_));
    range->addWidget(to_);
    range->addWidget(add);
    range->addWidget(remove);
    range->addWidget(clear);
    auto* tl = new QVBoxLayout(trackingBox_);
    tl->addLayout(range);
    tl->addWidget(numbers_);

    saleBox_->setVisible(false);
    trackingBox_->setVisible(false);
    connect(sell_, &QCheckBox::toggled, saleBox_, &QWidget::setVisible);
    connect(sell_, &QCheckBox::toggled, this, [this](bool on) { trackingBox_->setVisible(on && tracking_->isChecked()); });
    connect(tracking_, &QCheckBox::toggled, trackingBox_, &QWidget::setVisible);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(sell_);
    auto* row = new QHBoxLayout;
    row->addWidget(saleBox_);
    row->addWidget(trackingBox_);
    layout->addLayout(row);
    layout->addStretch();
    return page;
}

void Tkehu_add::fillChoices()
{
    CustomerList list(appDb());
    setChoices(type_, list.types(), type_->currentText());
    setChoices(region_, list.regions(), region_->currentText());
    QStringList people{QString()};
    people << list.salespeople();
    setChoices(salesperson_, people, salesperson_->currentText());
    setChoices(ticketKind_, CustomerRecords(appDb()).ticketKinds(), QString());
    fillSubAreas();
}

void Tkehu_add::fillSubAreas()
{
    const QString keep = subArea_->currentText();
    QStringList choices{QStringLiteral("无")};
    if (!region_->currentText().isEmpty())
        runAction(this, [&] { choices << CustomerList(appDb()).subAreas(region_->currentText()); });
    setChoices(subArea_, choices, choices.contains(keep) ? keep : choices.first());
}

void Tkehu_add::showCustomer(const CustomerInput& c)
{
    type_->setCurrentIndex(type_->findText(c.type));
    name_->setText(c.name);
    address_->setText(c.address);
    phone_->setText(c.phone);
    if (region_->findText(c.region) < 0 && !c.region.isEmpty())
        region_->addItem(c.region);
    region_->setCurrentIndex(region_->findText(c.region));
    fillSubAreas();
    if (subArea_->findText(c.subArea) < 0 && !c.subArea.isEmpty())
        subArea_->addItem(c.subArea);
    subArea_->setCurrentIndex(subArea_->findText(c.subArea));
    code_->setText(c.code);
    pointsAtOpening_ = c.points.isEmpty() ? QStringLiteral("0") : c.points;
    points_->setText(pointsAtOpening_);
    points_->setReadOnly(!mayEditPoints_);
    company_->setText(c.company);
    idNumber_->setText(c.idNumber);
    birthday_->setText(c.birthday);
    note_->setText(c.note);
    cleaningDays_->setText(c.cleaningDays);
    salesperson_->setCurrentIndex(salesperson_->findText(c.salesperson));
    commission_->setText(c.commission);
}

void Tkehu_add::startNewCustomer()
{
    customerId_ = 0;
    nameAtOpening_.clear();
    showCustomer(CustomerInput());
    sell_->setChecked(false);
    tracking_->setChecked(false);
    for (QLineEdit* e : {unitPrice_, quantity_, due_, paid_, saleNote_, prefix_, from_, to_})
        e->clear();
    numbers_->clear();
    ticketKindChosen();
    type_->setFocus();
}

CustomerInput Tkehu_add::customerInput() const
{
    CustomerInput c;
    c.type = type_->currentText();
    c.name = name_->text();
    c.address = address_->text();
    c.phone = phone_->text();
    c.region = region_->currentText();
    c.subArea = subArea_->currentText();
    c.code = code_->text();
    c.points = points_->text();
    c.pointsAtOpening = pointsAtOpening_;
    c.mayChangePoints = mayEditPoints_;
    c.company = company_->text();
    c.idNumber = idNumber_->text();
    c.birthday = birthday_->text();
    c.note = note_->text();
    c.cleaningDays = cleaningDays_->text();
    c.salesperson = salesperson_->currentText();
    c.commission = commission_->text();
    return c;
}

TicketSaleInput Tkehu_add::ticketSale() const
{
    TicketSaleInput s;
    s.sell = sell_->isChecked();
    s.product = ticketKind_->currentText();
    s.unitPrice = unitPrice_->text();
    s.quantity = quantity_->text();
    s.due = due_->text();
    s.paid = paid_->text();
    s.note = saleNote_->text();
    s.tracking = tracking_->isChecked();
    for (int i = 0; i < numbers_->count(); ++i)
        s.numbers << numbers_->item(i)->text();
    return s;
}

bool Tkehu_add::save()
{
    return runAction(this, [this] {
        CustomerRecords records(appDb());
        if (customerId_ == 0) {
            qint64 id = 0;
            const Outcome o = records.create(customerInput(), ticketSale(), LoginValues::current().operatorName, &id);
            if (o)
                savedId_ = id;
            return o;
        }
        const Outcome o = records.update(customerId_, nameAtOpening_, customerInput());
        if (o)
            nameAtOpening_ = name_->text();
        return o;
    }).ok;
}

void Tkehu_add::saveAndClose()
{
    if (save())
        accept();
}

void Tkehu_add::saveAndNext()
{
    const QString saved = name_->text();
    if (!save())
        return;
    startNewCustomer();
    if (pages_->indexOf(ticketPage_) < 0)
        pages_->addTab(ticketPage_, QStringLiteral("水票销售"));
    pages_->setCurrentIndex(0);
    status_->setText(QStringLiteral("已保存客户“%1”，请录入新的客户").arg(saved));
}

void Tkehu_add::pageChanged(int index)
{
    if (pages_->widget(index) == ticketPage_ || index != 1)
        return;
    if (customerId_ == 0) {
        Messages::instance().information(this, QStringLiteral("请先保存客户资料才能进行特价设置！！"));
        pages_->setCurrentIndex(0);
        return;
    }
    runAction(this, [this] {
        products_->load(CustomerRecords(appDb()).products());
        reloadPrices();
    });
}

void Tkehu_add::reloadPrices()
{
    prices_->load(CustomerRecords(appDb()).specialPrices(customerId_));
}

void Tkehu_add::addPrice()
{
    runAction(this, [this] {
        const Outcome o = CustomerRecords(appDb()).setSpecialPrice(customerId_, name_->text(), priceProduct_->text(),
                                                                   price_->text());
        if (o)
            reloadPrices();
        return o;
    });
}

void Tkehu_add::removePrice()
{
    const QVariantMap row = prices_->currentValues();
    if (row.isEmpty())
        return;
    runAction(this, [&] {
        CustomerRecords(appDb()).removeSpecialPrice(
            row.value(QStringLiteral("ID"), row.value(QStringLiteral("id"))).toLongLong());
        reloadPrices();
    });
}

void Tkehu_add::ticketKindChosen()
{
    if (ticketKind_->currentText().isEmpty())
        return;
    runAction(this, [this] {
        unitPrice_->setText(CustomerRecords(appDb()).ticketPrice(ticketKind_->currentText()).toDisplayString());
    });
}

void Tkehu_add::addTicketNumbers()
{
    runAction(this, [this] {
        QStringList numbers;
        const Outcome o = CustomerRecords::ticketNumbers(prefix_->text(), from_->text(), to_->text(), &numbers);
        if (o)
            numbers_->addItems(numbers);
        return o;
    });
}

void Tkehu_add::removeTicketNumbers()
{
    qDeleteAll(numbers_->selectedItems());
}

bool Tkehu_add::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return QDialog::eventFilter(watched, event);
    if (watched == ok_) {
        ok_->click();
        return true;
    }
    if (watched == region_)
        fillSubAreas();
    QWidget* next = nullptr;
    if (watched == code_ || watched == points_ || watched == company_)
        next = idNumber_;
    const int i = int(enterOrder_.indexOf(static_cast<QWidget*>(watched)));
    if (i >= 0 && i + 1 < enterOrder_.size())
        next = enterOrder_.at(i + 1);
    if (next) {
        next->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
