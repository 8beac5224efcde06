#include "orders/Uchengpi_xiugai_ticheng.h"

#include "app/app_context.h"
#include "orders/customer_commission_batch.h"
#include "storage/db.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

namespace {

QComboBox* comboNamed(const QString& name)
{
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->setMinimumWidth(140);
    return c;
}

QLineEdit* rateInput()
{
    auto* e = new QLineEdit(QStringLiteral("0"));
    e->setObjectName(QStringLiteral("送水提成"));
    return e;
}

// The first entry of each list stays empty: choosing nothing is how the
// operator means "every customer".
void fill(QComboBox* box, const QStringList& items)
{
    box->clear();
    box->addItem(QString());
    box->addItems(items);
}

} // namespace

TFchengpi_xiugai_ticheng::TFchengpi_xiugai_ticheng(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFchengpi_xiugai_ticheng"));
    setWindowTitle(QStringLiteral("成批修改客户提成"));

    auto group = [this](const QString& title, QFormLayout* fields, void (TFchengpi_xiugai_ticheng::*slot)()) {
        auto* box = new QGroupBox(title);
        box->setObjectName(title);
        auto* change = new QPushButton(QStringLiteral("修改"));
        change->setObjectName(QStringLiteral("修改"));
        auto* cancel = new QPushButton(QStringLiteral("取消"));
        cancel->setObjectName(QStringLiteral("取消"));
        change->setAutoDefault(false);
        cancel->setAutoDefault(false);
        connect(change, &QPushButton::clicked, this, slot);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(change);
        buttons->addWidget(cancel);
        auto* layout = new QVBoxLayout(box);
        layout->addLayout(fields);
        layout->addLayout(buttons);
        return box;
    };

    district_ = comboNamed(QStringLiteral("一级区域"));
    subDistrict_ = comboNamed(QStringLiteral("二级区域"));
    districtRate_ = rateInput();
    auto* byDistrict = new QFormLayout;
    byDistrict->addRow(QStringLiteral("一级区域"), district_);
    byDistrict->addRow(QStringLiteral("二级区域"), subDistrict_);
    byDistrict->addRow(QStringLiteral("送水提成"), districtRate_);

    type_ = comboNamed(QStringLiteral("客户类型"));
    typeRate_ = rateInput();
    auto* byType = new QFormLayout;
    byType->addRow(QStringLiteral("客户类型"), type_);
    byType->addRow(QStringLiteral("送水提成"), typeRate_);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group(QStringLiteral("按客户区域"), byDistrict, &TFchengpi_xiugai_ticheng::Button1Click));
    layout->addWidget(group(QStringLiteral("按客户类型"), byType, &TFchengpi_xiugai_ticheng::Button3Click));

    connect(district_, &QComboBox::currentIndexChanged, this, &TFchengpi_xiugai_ticheng::districtChosen);
}

void TFchengpi_xiugai_ticheng::reload()
{
    CustomerCommissionBatch batch(appDb());
    subDistrict_->clear();
    try {
        const QSignalBlocker block(district_);
        fill(district_, batch.districts());
        fill(type_, batch.customerTypes());
    } catch (const DbError& e) {
        Messages::instance().error(this, e.message());
    }
    districtRate_->setText(QStringLiteral("0"));
    typeRate_->setText(QStringLiteral("0"));
}

void TFchengpi_xiugai_ticheng::districtChosen()
{
    const QString district = district_->currentText();
    if (district.isEmpty()) {
        subDistrict_->clear();
        return;
    }
    try {
        fill(subDistrict_, CustomerCommissionBatch(appDb()).subDistricts(district));
    } catch (const DbError& e) {
        subDistrict_->clear();
        Messages::instance().error(this, e.message());
    }
}

void TFchengpi_xiugai_ticheng::Button1Click()
{
    Outcome o;
    try {
        o = CustomerCommissionBatch(appDb())
                .byDistrict(district_->currentText(), subDistrict_->currentText(), districtRate_->text());
    } catch (const DbError& e) {
        o = Outcome::refused(e.message());
    }
    Messages::instance().information(this, o.message);
}

void TFchengpi_xiugai_ticheng::Button3Click()
{
    Outcome o;
    try {
        o = CustomerCommissionBatch(appDb()).byCustomerType(type_->currentText(), typeRate_->text());
    } catch (const DbError& e) {
        o = Outcome::refused(e.message());
    }
    Messages::instance().information(this, o.message);
}

} // namespace ts
