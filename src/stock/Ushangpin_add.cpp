#include "stock/Ushangpin_add.h"

#include "app/app_context.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace ts {

namespace {

QLineEdit* lineEdit(const QString& name)
{
    return makeLineEdit(name);
}

// Enter in the inputs walks the fields; it must not press a button.
QPushButton* button(const QString& caption)
{
    return makeButton(caption);
}

} // namespace

Tshangpin_add::Tshangpin_add(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tshangpin_add"));
    setWindowTitle(QStringLiteral("商品添加"));

    name_ = lineEdit(QStringLiteral("产品名称"));
    unit_ = lineEdit(QStringLiteral("产品单位"));
    price_ = lineEdit(QStringLiteral("销售单价"));
    commission_ = lineEdit(QStringLiteral("送水员提成"));
    purchasePrice_ = lineEdit(QStringLiteral("进货单价"));
    ticketPrice_ = lineEdit(QStringLiteral("水票优惠单价"));
    code_ = lineEdit(QStringLiteral("自编码"));
    type_ = makeComboBox(QStringLiteral("产品类型"));
    type_->setMinimumContentsLength(8);
    // Commissions are typed as plain decimals; nothing else gets in.
    commission_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), commission_));

    ok_ = button(QStringLiteral("确定"));
    cancel_ = button(QStringLiteral("取消"));

    auto* grid = new QGridLayout;
    const struct {
        const char* label;
        QWidget* input;
        int row, column;
    } cells[] = {
        {"产品名称", name_, 0, 0},      {"产品单位", unit_, 0, 1},           {"销售单价", price_, 1, 0},
        {"送水员提成", commission_, 1, 1}, {"进货单价", purchasePrice_, 2, 0}, {"水票优惠单价", ticketPrice_, 2, 1},
        {"产品类型", type_, 3, 0},      {"自编码", code_, 3, 1},
    };
    for (const auto& c : cells) {
        auto* l = new QLabel(QString::fromUtf8(c.label));
        l->setBuddy(c.input);
        grid->addWidget(l, c.row, c.column * 2);
        grid->addWidget(c.input, c.row, c.column * 2 + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* note = new QLabel(QStringLiteral("只有产品类型设置为“水”，才可以进行空桶入库操作。"));
    note->setObjectName(QStringLiteral("说明"));
    note->setStyleSheet(QStringLiteral("color: red"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addLayout(buttons);

    for (QLineEdit* e : {name_, unit_, price_, commission_, purchasePrice_, ticketPrice_, code_}) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, [this] { dirty_ = true; });
    }
    ok_->installEventFilter(this);
    connect(type_, &QComboBox::activated, this, [this] { dirty_ = true; });
    connect(ok_, &QPushButton::clicked, this, &Tshangpin_add::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void Tshangpin_add::startNew()
{
    editedId_ = 0;
    savedId_ = 0;
    showProduct(ProductInput{});
    // A new row counts as changed from the start: 确定 always writes it.
    dirty_ = true;
}

void Tshangpin_add::startEdit(qint64 id)
{
    savedId_ = 0;
    std::optional<ProductInput> p;
    runAction(this, [&] { p = ProductCatalog(appDb()).read(id); });
    if (!p) {
        startNew();
        return;
    }
    editedId_ = id;
    showProduct(*p);
    dirty_ = false;
}

void Tshangpin_add::showProduct(const ProductInput& p)
{
    name_->setText(p.name);
    unit_->setText(p.unit);
    price_->setText(p.price);
    commission_->setText(p.commission);
    purchasePrice_->setText(p.purchasePrice);
    ticketPrice_->setText(p.ticketPrice);
    code_->setText(p.code);
    fillTypes(p.type);
}

void Tshangpin_add::fillTypes(const QString& current)
{
    QStringList types;
    runAction(this, [&] { types = ProductCatalog(appDb()).typeNames(); });
    // A product keeps a type that was deleted from the list since.
    if (!current.isEmpty() && !types.contains(current))
        types << current;
    type_->clear();
    type_->addItems(types);
    type_->setCurrentIndex(current.isEmpty() ? -1 : types.indexOf(current));
}

void Tshangpin_add::reload()
{
    fillTypes(type_->currentText());
    name_->setFocus();
}

ProductInput Tshangpin_add::input() const
{
    ProductInput p;
    p.name = name_->text();
    p.unit = unit_->text();
    p.price = price_->text();
    p.commission = commission_->text();
    p.purchasePrice = purchasePrice_->text();
    p.ticketPrice = ticketPrice_->text();
    p.type = type_->currentText();
    p.code = code_->text();
    return p;
}

bool Tshangpin_add::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return Form::eventFilter(watched, event);

    QWidget* next = nullptr;
    if (watched == name_)
        next = unit_;
    else if (watched == unit_ || watched == code_)
        next = price_;
    else if (watched == price_ || watched == purchasePrice_ || watched == ticketPrice_)
        next = commission_;
    else if (watched == commission_)
        next = ok_;
    else if (watched == ok_) {
        ok_->click();
        return true;
    }
    if (next) {
        next->setFocus();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void Tshangpin_add::save()
{
    const ProductInput in = input();
    bool unchanged = false;
    const Outcome r = runAction(this, [&] {
        ProductCatalog catalog(appDb());
        Outcome o = catalog.check(in, editedId_);
        if (!o)
            return o;
        // An edit that changed nothing has nothing to write; the form stays.
        if (editedId_ != 0 && !dirty_) {
            unchanged = true;
            return o;
        }
        if (editedId_ == 0) {
            qint64 id = 0;
            o = catalog.add(in, &id);
            if (o)
                savedId_ = id;
        } else {
            o = catalog.update(editedId_, in);
            if (o)
                savedId_ = editedId_;
        }
        return o;
    });
    if (r && !unchanged)
        accept();
}

} // namespace ts
