#include "orders/Uxiaoshou.h"

#include "app/app_context.h"
#include "storage/db.h"
#include "customers/Ukehu_list.h"
#include "customers/customer_list.h"
#include "customers/customer_picker.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <utility>

namespace ts {

namespace {

const QString kOrdered = QStringLiteral("订水");
const QString kNoId = QStringLiteral("无");
const QColor kWarning(255, 111, 111);

// The basket's columns as 销售临时表 names them; all but the product are
// typed into.
const QStringList& basketColumns()
{
    static const QStringList columns{QStringLiteral("产品名称"), QStringLiteral("数量"), QStringLiteral("销售单价"),
                                     QStringLiteral("总金额"), QStringLiteral("提成")};
    return columns;
}

// The basket line a row of the grid shows.
constexpr int kLineRole = Qt::UserRole;

// Space in a cell being edited ends the edit as Enter does; the operator
// then goes on to the delivery worker. Quantities and amounts never hold a
// blank, so nothing typed is lost to it.
class SpaceEndsEdit : public QStyledItemDelegate {
public:
    SpaceEndsEdit(std::function<void()> onSpace, QObject* parent)
        : QStyledItemDelegate(parent)
        , onSpace_(std::move(onSpace))
    {
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            onSpace_();
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    std::function<void()> onSpace_;
};

// A value the operator reads but does not type: the customer panel.
QLineEdit* display(const QString& name, QWidget* parent)
{
    auto* e = makeLineEdit(name, parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    // The longest it shows is a date with its time.
    fitWidthTo(e, QStringLiteral("2026-12-11 09:30:15"));
    return e;
}

// Shows `text` in a drop-down even when it is no longer among the choices:
// the customer's district or type must survive a renamed list, since the
// confirmation writes back what the form shows.
void showChoice(QComboBox* box, const QString& text)
{
    int i = box->findText(text);
    if (i < 0 && !text.isEmpty()) {
        box->addItem(text);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

std::map<QString, Txiaoshou::CustomerAction>& Txiaoshou::actions()
{
    static std::map<QString, CustomerAction> registered;
    return registered;
}

void Txiaoshou::setCustomerAction(const QString& button, CustomerAction action)
{
    actions()[button] = std::move(action);
}

Txiaoshou::Txiaoshou(QWidget* parent)
    : Form(parent)
{
    setObjectName(QStringLiteral("Txiaoshou"));
    setWindowTitle(QStringLiteral("订水"));
    // Room for the basket and the product list on the screen it is made for.
    resize(1000, 690);

    pages_ = new QTabWidget(this);
    pages_->addTab(buildBasicPage(), QStringLiteral("基本信息"));
    pages_->addTab(buildTicketPage(), QStringLiteral("该客户剩余水票"));
    pages_->addTab(buildTotalsPage(), QStringLiteral("该客户购物统计"));
    // The running totals are read by the customer load but not shown.
    pages_->setTabVisible(2, false);

    auto* top = new QHBoxLayout;
    top->addWidget(pages_, 3);
    top->addWidget(buildStatusPanel(), 2);

    auto* lines = new QHBoxLayout;
    lines->addWidget(buildProducts(), 2);
    lines->addWidget(buildBasket(), 3);

    workerLabel_ = new QLabel(QStringLiteral("配送员"), this);
    worker_ = makeComboBox(QStringLiteral("配送员"), this);
    collect_ = makeCheckBox(QStringLiteral("客户自提水"), this);
    sms_ = makeCheckBox(QStringLiteral("短信通知配送工"), this);
    deliveryRemark_ = makeLineEdit(QStringLiteral("本次发货备注"), this);
    connect(collect_, &QCheckBox::toggled, this, &Txiaoshou::collectToggled);
    auto* delivery = new QHBoxLayout;
    delivery->addWidget(workerLabel_);
    delivery->addWidget(worker_);
    delivery->addWidget(collect_);
    delivery->addWidget(sms_);
    delivery->addSpacing(12);
    delivery->addWidget(new QLabel(QStringLiteral("本次发货备注"), this));
    delivery->addWidget(deliveryRemark_, 1);

    auto* smsPreview = makeButton(QStringLiteral("显示短信内容并复制到剪贴板"), [this] { showSms(); }, this);
    confirm_ = makeButton(QStringLiteral("订水(&S)"), [this] { confirmOrder(); }, this);
    auto* quit = makeButton(QStringLiteral("退出(&C)"), [this] { reject(); }, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(smsPreview);
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(quit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lines, 1);
    layout->addLayout(delivery);
    layout->addLayout(buttons);

    for (QWidget* w : std::initializer_list<QWidget*>{phone_, name_, name_->lineEdit(), code_, type_, company_, district_,
                                                      subDistrict_, address_, remark_, warehouse_, payment_,
                                                      deliveryRemark_, worker_, collect_, confirm_, basketView_})
        w->installEventFilter(this);
    auto* toBasket = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_P), this);
    connect(toBasket, &QShortcut::activated, this, &Txiaoshou::focusBasket);

    payment_->addItems(OrderEntry::paymentMethods());
    booked_->setChecked(false);
    bookingDate_->setVisible(false);
    bookingTime_->setVisible(false);
    clearStatus();

    CustomerPicker::instance().receive(kPickMode, [this](const PickedCustomer& c) { showCustomer(c.id()); });
}

Txiaoshou::~Txiaoshou()
{
    CustomerPicker::instance().forget(kPickMode);
}

QWidget* Txiaoshou::buildBasicPage()
{
    auto* page = new QWidget;
    phone_ = makeLineEdit(QStringLiteral("电话号码"), page);
    name_ = makeComboBox(QStringLiteral("客户姓名"), page, true);
    // Every customer's name is a choice: measuring them all would make each
    // opening slow on a large station.
    name_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    name_->setMinimumContentsLength(10);
    name_->setInsertPolicy(QComboBox::NoInsert);
    // Typing offers the names that hold what was typed; taking one of them is
    // choosing that name. Enter alone searches for what was typed.
    name_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    name_->completer()->setFilterMode(Qt::MatchContains);
    connect(name_, &QComboBox::activated, this, &Txiaoshou::nameChosen);
    id_ = new QLabel(kNoId, page);
    id_->setObjectName(QStringLiteral("客户编号"));
    id_->setFrameShape(QFrame::StyledPanel);
    code_ = makeLineEdit(QStringLiteral("手工编码"), page);
    auto* byPhone = makeButton(QStringLiteral("查询"), [this] { search(CustomerField::Telephone); }, page);
    byPhone->setObjectName(QStringLiteral("电话号码查询"));
    auto* byName = makeButton(QStringLiteral("查询"), [this] { search(CustomerField::Name); }, page);
    byName->setObjectName(QStringLiteral("客户姓名查询"));
    auto* byCode = makeButton(QStringLiteral("查询"), [this] { search(CustomerField::Code); }, page);
    byCode->setObjectName(QStringLiteral("手工编码查询"));

    newCustomer_ = new QRadioButton(QStringLiteral("新客户"), page);
    newCustomer_->setObjectName(QStringLiteral("新客户"));
    oldCustomer_ = new QRadioButton(QStringLiteral("老客户"), page);
    oldCustomer_->setObjectName(QStringLiteral("老客户"));
    // Only a lookup makes a customer an old one; the operator cannot claim it.
    oldCustomer_->setEnabled(false);
    auto* kinds = new QButtonGroup(page);
    kinds->addButton(newCustomer_);
    kinds->addButton(oldCustomer_);
    connect(newCustomer_, &QRadioButton::clicked, this, &Txiaoshou::becomeNewCustomer);
    auto* kindHelp = makeButton(QStringLiteral("？"), [this] {
        Messages::instance().information(this, QStringLiteral("老客户的单选框不能手动选择，必须由查询客户资料后电脑自动选择"));
    }, page);
    kindHelp->setObjectName(QStringLiteral("老客户？"));
    saveOnly_ = makeButton(QStringLiteral("只保存新客户资料"), [this] { saveCustomerOnly(); }, page);
    saveOnlyHelp_ = makeButton(QStringLiteral("？"), [this] {
        Messages::instance().information(
            this, QStringLiteral("有的新客户只是咨询但不订水，此时就可以点击保存新客户资料的按钮，如果是新客户并且订水，"
                                 "请填写完新客户资料后直接点击下方的订水按钮！！"));
    }, page);
    saveOnlyHelp_->setObjectName(QStringLiteral("只保存新客户资料？"));
    for (QPushButton* help : {kindHelp, saveOnlyHelp_})
        help->setFixedWidth(help->fontMetrics().horizontalAdvance(help->text()) + 16);

    type_ = makeComboBox(QStringLiteral("客户类型"), page);
    company_ = makeLineEdit(QStringLiteral("客户单位"), page);
    district_ = makeComboBox(QStringLiteral("一级区域"), page);
    subDistrict_ = makeComboBox(QStringLiteral("二级区域"), page);
    connect(district_, &QComboBox::currentTextChanged, this, &Txiaoshou::fillSubDistricts);
    address_ = makeLineEdit(QStringLiteral("联系地址"), page);
    remark_ = makeLineEdit(QStringLiteral("客户备注"), page);
    warehouse_ = makeComboBox(QStringLiteral("选择库房"), page);
    payment_ = makeComboBox(QStringLiteral("收款方式"), page);
    booked_ = makeCheckBox(QStringLiteral("预约送水时间"), page);
    bookingDate_ = makeDateEdit(QStringLiteral("预约日期"), page);
    bookingTime_ = new QTimeEdit(page);
    bookingTime_->setObjectName(QStringLiteral("预约时间"));
    bookingTime_->setDisplayFormat(QStringLiteral("hh:mm:ss"));
    connect(booked_, &QCheckBox::toggled, bookingDate_, &QWidget::setVisible);
    connect(booked_, &QCheckBox::toggled, bookingTime_, &QWidget::setVisible);

    auto* g = new QGridLayout(page);
    auto label = [page](const QString& text) { return new QLabel(text, page); };
    g->addWidget(label(QStringLiteral("电话号码")), 0, 0);
    g->addWidget(phone_, 0, 1);
    g->addWidget(byPhone, 0, 2);
    g->addWidget(label(QStringLiteral("客户姓名")), 0, 3);
    g->addWidget(name_, 0, 4);
    g->addWidget(byName, 0, 5);
    g->addWidget(label(QStringLiteral("客户编号")), 1, 0);
    g->addWidget(id_, 1, 1);
    g->addWidget(label(QStringLiteral("手工编码")), 1, 3);
    g->addWidget(code_, 1, 4);
    g->addWidget(byCode, 1, 5);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(newCustomer_);
    kindRow->addWidget(oldCustomer_);
    kindRow->addWidget(kindHelp);
    kindRow->addStretch();
    g->addLayout(kindRow, 2, 1, 1, 2);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(saveOnly_);
    saveRow->addWidget(saveOnlyHelp_);
    saveRow->addStretch();
    g->addLayout(saveRow, 2, 4, 1, 2);
    g->addWidget(label(QStringLiteral("客户类型")), 3, 0);
    g->addWidget(type_, 3, 1, 1, 2);
    g->addWidget(label(QStringLiteral("客户单位")), 3, 3);
    g->addWidget(company_, 3, 4, 1, 2);
    g->addWidget(label(QStringLiteral("一级区域")), 4, 0);
    g->addWidget(district_, 4, 1, 1, 2);
    g->addWidget(label(QStringLiteral("二级区域")), 4, 3);
    g->addWidget(subDistrict_, 4, 4, 1, 2);
    g->addWidget(label(QStringLiteral("联系地址")), 5, 0);
    g->addWidget(address_, 5, 1, 1, 5);
    g->addWidget(label(QStringLiteral("客户备注")), 6, 0);
    g->addWidget(remark_, 6, 1, 1, 5);
    g->addWidget(label(QStringLiteral("选择库房")), 7, 0);
    g->addWidget(warehouse_, 7, 1, 1, 2);
    g->addWidget(label(QStringLiteral("收款方式")), 7, 3);
    g->addWidget(payment_, 7, 4, 1, 2);
    auto* booking = new QHBoxLayout;
    booking->addWidget(booked_);
    booking->addWidget(bookingDate_);
    booking->addWidget(bookingTime_);
    booking->addStretch();
    g->addLayout(booking, 8, 0, 1, 6);
    // Names run longer than telephone numbers.
    g->setColumnStretch(1, 2);
    g->setColumnStretch(4, 3);
    g->setRowStretch(9, 1);
    return page;
}

QWidget* Txiaoshou::buildStatusPanel()
{
    auto* box = new QGroupBox(QStringLiteral("客户情况"), this);
    owedBuckets_ = display(QStringLiteral("该用户欠桶数"), box);
    dispenser_ = display(QStringLiteral("是否租借了饮水机"), box);
    lastOrder_ = display(QStringLiteral("上次订水时间"), box);
    iou_ = display(QStringLiteral("签单情况"), box);
    cleaningDays_ = display(QStringLiteral("饮水机清洗频率"), box);
    lastCleaning_ = display(QStringLiteral("上次清洗饮水机"), box);
    nextCleaning_ = display(QStringLiteral("预计下次清洗饮水机"), box);
    lastProduct_ = display(QStringLiteral("上次订购产品"), box);
    prepayment_ = display(QStringLiteral("预付款剩余"), box);
    deposit_ = display(QStringLiteral("交纳押金"), box);

    bucketsDetail_ = makeButton(QStringLiteral("查看详细"), [this] { runCustomerAction(QStringLiteral("欠桶查看详细")); }, box);
    bucketsDetail_->setObjectName(QStringLiteral("欠桶查看详细"));
    dispenserDetail_ =
        makeButton(QStringLiteral("查看详细"), [this] { runCustomerAction(QStringLiteral("饮水机查看详细")); }, box);
    dispenserDetail_->setObjectName(QStringLiteral("饮水机查看详细"));
    iouDetail_ = makeButton(QStringLiteral("查看详细"), [this] { runCustomerAction(QStringLiteral("签单查看详细")); }, box);
    iouDetail_->setObjectName(QStringLiteral("签单查看详细"));
    auto* repeat = makeButton(QStringLiteral("自动成为本次订水信息"), [this] { addLastProduct(); }, box);
    ticketSale_ = makeButton(QStringLiteral("水票销售"), [this] { runCustomerAction(QStringLiteral("水票销售")); }, box);

    auto* g = new QGridLayout(box);
    g->setVerticalSpacing(3);
    int row = 0;
    auto add = [&](const QString& caption, QLineEdit* value, QWidget* beside = nullptr) {
        g->addWidget(new QLabel(caption, box), row, 0);
        g->addWidget(value, row, 1);
        if (beside)
            g->addWidget(beside, row, 2);
        ++row;
    };
    add(QStringLiteral("该用户欠桶数"), owedBuckets_, bucketsDetail_);
    add(QStringLiteral("是否租借了饮水机"), dispenser_, dispenserDetail_);
    add(QStringLiteral("上次订水时间"), lastOrder_);
    add(QStringLiteral("签单情况"), iou_, iouDetail_);
    add(QStringLiteral("饮水机清洗频率"), cleaningDays_, new QLabel(QStringLiteral("天"), box));
    add(QStringLiteral("上次清洗饮水机"), lastCleaning_);
    add(QStringLiteral("预计下次清洗饮水机"), nextCleaning_);
    add(QStringLiteral("上次订购产品"), lastProduct_);
    g->addWidget(repeat, row++, 1, 1, 2);
    add(QStringLiteral("预付款剩余"), prepayment_, new QLabel(QStringLiteral("元"), box));
    add(QStringLiteral("交纳押金"), deposit_, ticketSale_);
    g->setColumnStretch(1, 1);
    return box;
}

QWidget* Txiaoshou::buildTicketPage()
{
    auto* page = new QWidget;
    tickets_ = new DataGrid(page);
    tickets_->setObjectName(QStringLiteral("该客户剩余水票"));
    tickets_->setColumns({QStringLiteral("产品名称"), QStringLiteral("还剩数量")});
    tickets_->setFooterText(QStringLiteral("产品名称"), QStringLiteral("数量合计："));
    tickets_->setFooterSum(QStringLiteral("还剩数量"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tickets_);
    return page;
}

QWidget* Txiaoshou::buildTotalsPage()
{
    auto* page = new QWidget;
    totalUnits_ = display(QStringLiteral("购物总数量"), page);
    totalOrders_ = display(QStringLiteral("总购物次数"), page);
    totalAmount_ = display(QStringLiteral("总购物金额"), page);
    auto* g = new QGridLayout(page);
    g->addWidget(new QLabel(QStringLiteral("购物总数量"), page), 0, 0);
    g->addWidget(totalUnits_, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("总购物次数"), page), 1, 0);
    g->addWidget(totalOrders_, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("总购物金额"), page), 2, 0);
    g->addWidget(totalAmount_, 2, 1);
    g->setRowStretch(3, 1);
    return page;
}

QWidget* Txiaoshou::buildProducts()
{
    auto* box = new QGroupBox(QStringLiteral("待选商品"), this);
    products_ = new DataGrid(box);
    products_->setObjectName(QStringLiteral("待选商品"));
    products_->setColumns({QStringLiteral("产品名称"), QStringLiteral("单价")});
    connect(products_, &DataGrid::rowDoubleClicked, this, &Txiaoshou::addProduct);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(products_);
    return box;
}

QWidget* Txiaoshou::buildBasket()
{
    auto* box = new QGroupBox(QStringLiteral("已选商品"), this);
    // The shared grid only shows rows; the basket is typed into cell by cell
    // and holds a handful of lines, so a plain table serves it.
    basketView_ = new QTableWidget(0, int(basketColumns().size()), box);
    basketView_->setObjectName(QStringLiteral("已选商品"));
    basketView_->setHorizontalHeaderLabels(basketColumns());
    basketView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    basketView_->setSelectionMode(QAbstractItemView::SingleSelection);
    basketView_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    basketView_->verticalHeader()->setVisible(false);
    basketView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    basketView_->setItemDelegate(new SpaceEndsEdit([this] {
        (worker_->isHidden() ? static_cast<QWidget*>(collect_) : worker_)->setFocus();
    }, basketView_));
    connect(basketView_, &QTableWidget::itemChanged, this, &Txiaoshou::basketEdited);
    auto* remove = makeButton(QStringLiteral("删除所选产品数据(&D)"), [this] { removeLine(); }, box);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(basketView_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(remove);
    layout->addLayout(row);
    return box;
}

OrderEntry Txiaoshou::entry() const
{
    return OrderEntry(appDb(), LoginValues::current());
}

void Txiaoshou::prepare(qint64 customerId, const QString& phone)
{
    preloadId_ = customerId;
    phone_->setText(phone);
    customerId_ = 0;
    id_->setText(kNoId);
    tickets_->closeData();
}

void Txiaoshou::reload()
{
    const QDateTime now = clock::now();
    bookingDate_->setDate(now.date());
    bookingTime_->setTime(now.time());
    becomeNewCustomer();
    result_.clear();
    basket_.emplace(appDb(), OrderBasket::newKey());
    deliveryRemark_->clear();
    // A new opening shows nothing of the customer before.
    clearStatus();
    payment_->setCurrentText(QStringLiteral("现金"));

    OrderEntry e = entry();
    setChoices(worker_, e.workers(), OrderEntry::kNoWorker);
    name_->clear();
    name_->addItems(e.customerNames());
    name_->setEditText(QString());
    const QStringList warehouses = e.warehouses();
    setChoices(warehouse_, warehouses, warehouses.value(0));
    {
        // One refill of the sub-districts, not one per district added.
        const QSignalBlocker block(district_);
        setChoices(district_, e.districts(), district_->currentText());
    }
    fillSubDistricts();
    collect_->setChecked(false);

    basket_->clear();
    showBasket();
    products_->load(e.products());
    setChoices(type_, e.customerTypes(), type_->currentText());

    callRow_ = 0;
    if (!phone_->text().isEmpty())
        callRow_ = e.logCall(phone_->text(), now, name_->currentText(), id_->text(), address_->text());

    booked_->setChecked(false);
    rate_ = Money();

    const qint64 preload = std::exchange(preloadId_, 0);
    if (preload != 0) {
        if (const std::optional<CustomerView> c = e.load(preload))
            showLoaded(*c);
    }
    updateActionButtons();
    pages_->setCurrentIndex(0);
    phone_->setFocus();
}

void Txiaoshou::showCustomer(qint64 customerId)
{
    runAction(this, [&] {
        if (const std::optional<CustomerView> c = entry().load(customerId))
            showLoaded(*c);
    });
    raise();
    activateWindow();
}

void Txiaoshou::becomeNewCustomer()
{
    newCustomer_->setChecked(true);
    customerId_ = 0;
    id_->setText(kNoId);
    tickets_->closeData();
    saveOnly_->setVisible(true);
    saveOnlyHelp_->setVisible(true);
}

void Txiaoshou::showLoaded(const CustomerView& c)
{
    showChoice(type_, c.text(QStringLiteral("客户类型")));
    // The district first: choosing it refills the sub-districts.
    showChoice(district_, c.text(QStringLiteral("客户地区")));
    code_->setText(c.text(QStringLiteral("手工编码")));
    name_->setEditText(c.text(QStringLiteral("客户姓名")));
    company_->setText(c.text(QStringLiteral("客户单位")));
    showChoice(subDistrict_, c.text(QStringLiteral("小区域")));
    address_->setText(c.text(QStringLiteral("联系地址")));
    remark_->setText(c.text(QStringLiteral("备用1")));
    customerId_ = c.id;
    id_->setText(QString::number(c.id));
    phone_->setText(c.text(QStringLiteral("联系电话")));
    lastOrder_->setText(c.text(QStringLiteral("最后订水时间")));
    cleaningDays_->setText(c.text(QStringLiteral("洗机频率")));
    lastCleaning_->setText(c.text(QStringLiteral("最后洗机时间")));
    nextCleaning_->setText(c.text(QStringLiteral("下次洗机时间")));
    rate_ = c.commissionRate;
    totalUnits_->setText(c.text(QStringLiteral("订水总数量")));
    totalOrders_->setText(c.text(QStringLiteral("订水总次数")));
    totalAmount_->setText(c.text(QStringLiteral("订水总金额")));
    prepayment_->setText(c.prepayment.toDisplayString());
    oldCustomer_->setChecked(true);
    saveOnly_->setVisible(false);
    saveOnlyHelp_->setVisible(false);

    payment_->setCurrentText(c.paymentMethod);
    owedBuckets_->setText(QString::number(c.owedBuckets));
    setWarning(owedBuckets_, c.owedBuckets != 0);
    bucketsDetail_->setVisible(c.owedBuckets != 0);
    dispenser_->setText(c.dispenser);
    dispenserDetail_->setVisible(c.dispenser != kNoId);
    iou_->setText(c.iou);
    setWarning(iou_, c.iou != QStringLiteral("0"));
    iouDetail_->setVisible(c.iou != QStringLiteral("0"));
    deposit_->setText(c.deposit.toDisplayString());
    lastProduct_->setText(c.lastProduct);
    tickets_->load(c.tickets);
}

void Txiaoshou::clearStatus()
{
    for (QLineEdit* e : {owedBuckets_, dispenser_, lastOrder_, iou_, cleaningDays_, lastCleaning_, nextCleaning_,
                         lastProduct_, prepayment_, deposit_, totalUnits_, totalOrders_, totalAmount_})
        e->clear();
    setWarning(owedBuckets_, false);
    setWarning(iou_, false);
    for (QPushButton* b : {bucketsDetail_, dispenserDetail_, iouDetail_})
        b->setVisible(false);
}

void Txiaoshou::setWarning(QLineEdit* value, bool warn)
{
    QPalette p = value->palette();
    p.setColor(QPalette::Base, warn ? kWarning : QColor(Qt::white));
    value->setPalette(p);
}

void Txiaoshou::search(CustomerField field)
{
    const QString typed = field == CustomerField::Telephone ? phone_->text()
                        : field == CustomerField::Name      ? name_->currentText()
                                                            : code_->text();
    if (typed.isEmpty()) {
        pickCustomer(field, typed);
        return;
    }
    CustomerSearch found;
    if (!runAction(this, [&] { found = entry().search(field, typed); }))
        return;
    switch (found.found) {
    case CustomerSearch::Found::One:
        showLoaded(found.customer);
        break;
    case CustomerSearch::Found::Nothing:
        // A name that matched nobody leaves no other customer's details
        // behind on a new customer's order.
        if (field == CustomerField::Name) {
            type_->setCurrentIndex(-1);
            district_->setCurrentIndex(-1);
            company_->clear();
            address_->clear();
            remark_->clear();
        }
        becomeNewCustomer();
        Messages::instance().information(this, found.message);
        break;
    case CustomerSearch::Found::Several:
        Messages::instance().information(this, found.message);
        pickCustomer(field, typed);
        break;
    }
}

void Txiaoshou::pickCustomer(CustomerField field, const QString& typed)
{
    // The list starts from what was typed; the other of name and code is
    // left out so that it does not narrow the choice.
    CustomerFilter preset;
    if (field == CustomerField::Telephone)
        preset.phone = typed;
    else if (field == CustomerField::Name)
        preset.name = typed;
    else
        preset.code = typed;
    Tkehu_list::pick(kPickMode, this, preset);
}

void Txiaoshou::nameChosen(int index)
{
    const QString name = name_->itemText(index);
    runAction(this, [&] {
        OrderEntry e = entry();
        const Outcome o = e.checkChosenName(name);
        if (!o) {
            becomeNewCustomer();
            return o;
        }
        if (const std::optional<CustomerView> c = e.byExactName(name))
            showLoaded(*c);
        return o;
    });
}

void Txiaoshou::fillSubDistricts()
{
    QStringList choices{QString()};
    if (!district_->currentText().isEmpty())
        runAction(this, [&] { choices = entry().subDistricts(district_->currentText()); });
    setChoices(subDistrict_, choices, QString());
}

void Txiaoshou::addProduct(int row)
{
    if (!basket_ || row < 0)
        return;
    const QString product = products_->text(row, QStringLiteral("产品名称"));
    runAction(this, [&] {
        const Outcome o = entry().addProduct(*basket_, product, customerId_, type_->currentText(), payment_->currentText(),
                                             &rate_);
        showBasket();
        return o;
    });
}

void Txiaoshou::addLastProduct()
{
    if (!basket_)
        return;
    runAction(this, [&] {
        const Outcome o = entry().addLastProduct(*basket_, lastProduct_->text(), customerId_, type_->currentText(),
                                                 payment_->currentText(), &rate_);
        showBasket();
        return o;
    });
}

void Txiaoshou::showBasket()
{
    Rows rows;
    if (basket_ && !runAction(this, [&] { rows = basket_->rows(); }))
        return;
    const QSignalBlocker block(basketView_);
    const int before = basketView_->rowCount();
    basketView_->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < int(basketColumns().size()); ++c) {
            // An edit re-reads the basket while the table still holds the
            // item that was typed into: the items stay, their texts change.
            QTableWidgetItem* item = basketView_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                if (c == 0)
                    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                basketView_->setItem(r, c, item);
            }
            item->setText(rows.text(r, basketColumns().at(c)));
            if (c == 0)
                item->setData(kLineRole, rows.value(r, QStringLiteral("行号")));
        }
    }
    // A line just added becomes the current one, ready for its quantity.
    if (rows.size() > before)
        basketView_->setCurrentCell(rows.size() - 1, 1);
}

void Txiaoshou::basketEdited(QTableWidgetItem* item)
{
    if (!basket_ || !item)
        return;
    const QTableWidgetItem* first = basketView_->item(item->row(), 0);
    if (!first)
        return;
    const int line = first->data(kLineRole).toInt();
    const QString field = basketColumns().value(item->column());
    const QString text = item->text();
    runAction(this, [&] {
        OrderBasket& b = *basket_;
        if (field == QStringLiteral("数量"))
            return b.setQuantity(line, text,
                                 PricingRules{payment_->currentText(), LoginValues::current().commissionMethod, rate_});
        if (field == QStringLiteral("销售单价"))
            return b.setUnitPrice(line, text);
        if (field == QStringLiteral("总金额"))
            return b.setAmount(line, text);
        if (field == QStringLiteral("提成"))
            return b.setCommission(line, text);
        return Outcome::done();
    });
    // What the basket holds now, a refused text put back included.
    showBasket();
}

void Txiaoshou::removeLine()
{
    const int row = basketView_->currentRow();
    if (!basket_ || row < 0 || !basketView_->item(row, 0))
        return;
    const int line = basketView_->item(row, 0)->data(kLineRole).toInt();
    runAction(this, [&] { basket_->remove(line); });
    showBasket();
}

void Txiaoshou::collectToggled(bool on)
{
    // Collected at the station: nobody delivers.
    if (on)
        worker_->setCurrentIndex(-1);
    worker_->setVisible(!on);
    workerLabel_->setVisible(!on);
}

void Txiaoshou::updateActionButtons()
{
    for (QPushButton* b : {bucketsDetail_, dispenserDetail_, iouDetail_, ticketSale_})
        b->setEnabled(actions().count(b->objectName()) != 0);
}

void Txiaoshou::runCustomerAction(const QString& button)
{
    if (button == QStringLiteral("水票销售") && customerId_ == 0) {
        Messages::instance().information(this, QStringLiteral("请先选择一个客户"));
        return;
    }
    const auto it = actions().find(button);
    if (it == actions().end())
        return;
    const CustomerAction action = it->second;
    runAction(this, [&] { action(customerId_, name_->currentText(), this); });
    // Tickets sold there are tickets the customer has now.
    if (button == QStringLiteral("水票销售"))
        runAction(this, [this] { tickets_->load(CustomerList(appDb()).remainingTickets(customerId_)); });
}

void Txiaoshou::focusBasket()
{
    basketView_->setFocus();
    if (basketView_->rowCount() > 0 && basketView_->currentRow() < 0)
        basketView_->setCurrentCell(0, 1);
}

OrderDraft Txiaoshou::draft() const
{
    OrderDraft d;
    d.basketKey = basket_ ? basket_->key() : QString();
    d.customerId = customerId_;
    d.phone = phone_->text();
    d.name = name_->currentText();
    d.code = code_->text();
    d.customerType = type_->currentText();
    d.company = company_->text();
    d.district = district_->currentText();
    d.subDistrict = subDistrict_->currentText();
    d.address = address_->text();
    d.remark = remark_->text();
    d.warehouse = warehouse_->currentText();
    d.paymentMethod = payment_->currentText();
    d.worker = worker_->currentText();
    d.customerCollects = collect_->isChecked();
    d.smsToWorker = sms_->isChecked();
    d.deliveryRemark = deliveryRemark_->text();
    d.booked = booked_->isChecked();
    d.bookingDate = bookingDate_->date();
    d.bookingTime = bookingTime_->time();
    d.commissionRate = rate_;
    return d;
}

void Txiaoshou::confirmOrder()
{
    if (!basket_)
        return;
    Confirmation c;
    const Outcome o = runAction(this, [&] {
        c = entry().confirm(draft());
        return c.outcome;
    });
    // An empty name goes in as a blank, and the form says what went in.
    if (!c.name.isEmpty() && c.name != name_->currentText())
        name_->setEditText(c.name);
    if (!o)
        return;
    customerId_ = c.customerId;
    id_->setText(QString::number(c.customerId));
    result_ = kOrdered;
    accept();
}

void Txiaoshou::saveCustomerOnly()
{
    qint64 id = 0;
    const Outcome o = runAction(this, [&] { return entry().saveNewCustomer(draft(), NewCustomerRules{}, &id); });
    if (!o)
        return;
    customerId_ = id;
    id_->setText(QString::number(id));
    oldCustomer_->setChecked(true);
    Messages::instance().information(this, o.message);
    accept();
}

void Txiaoshou::showSms()
{
    if (!basket_)
        return;
    QString text;
    if (!runAction(this, [&] { text = entry().smsText(draft(), basket_->lines()); }))
        return;
    QApplication::clipboard()->setText(text);
    Messages::instance().information(this, text);
}

void Txiaoshou::done(int r)
{
    closeOrder();
    clearInputs();
    Form::done(r);
}

void Txiaoshou::closeOrder()
{
    // The basket goes and the call is marked together, or neither.
    runAction(this, [this] {
        appDb().write([this] {
            if (basket_)
                basket_->clear();
            if (result_ == kOrdered && callRow_ != 0)
                entry().markCallOrdered(callRow_);
        });
    });
    callRow_ = 0;
    showBasket();
}

void Txiaoshou::clearInputs()
{
    for (QComboBox* box : {type_, district_, subDistrict_, worker_})
        box->setCurrentIndex(-1);
    name_->setEditText(QString());
    for (QLineEdit* e : {code_, company_, address_, remark_, phone_, cleaningDays_, lastOrder_, lastProduct_, prepayment_})
        e->clear();
}

bool Txiaoshou::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == basketView_) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            (worker_->isHidden() ? static_cast<QWidget*>(collect_) : worker_)->setFocus();
            return true;
        }
        return Form::eventFilter(watched, event);
    }
    if (!isEnter(event))
        return Form::eventFilter(watched, event);

    QWidget* next = nullptr;
    if (watched == phone_) {
        search(CustomerField::Telephone);
        next = name_;
    } else if (watched == name_ || watched == name_->lineEdit()) {
        search(CustomerField::Name);
        next = code_;
    } else if (watched == code_) {
        search(CustomerField::Code);
        next = type_;
    } else if (watched == confirm_) {
        confirm_->click();
        return true;
    } else if (watched == payment_) {
        focusBasket();
        return true;
    } else if (watched == worker_) {
        next = collect_;
    } else if (watched == collect_) {
        next = confirm_;
    } else if (watched == deliveryRemark_) {
        next = warehouse_;
    } else {
        const QList<QWidget*> chain{type_, company_, district_, subDistrict_, address_, remark_, warehouse_, payment_};
        const auto i = chain.indexOf(static_cast<QWidget*>(watched));
        if (i >= 0 && i + 1 < chain.size())
            next = chain.at(i + 1);
    }
    if (!next)
        return Form::eventFilter(watched, event);
    next->setFocus();
    return true;
}

} // namespace ts
