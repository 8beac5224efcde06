#include "orders/Uchengpi_xiugai_ticheng.h"

#include "app/app_context.h"
#include "orders/customer_commission_batch.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
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
    return makeComboBox(name);
}

QLineEdit* rateInput()
{
    QLineEdit* e = makeLineEdit(QStringLiteral("送水提成"));
    e->setText(QStringLiteral("0"));
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
        QPushButton* change = makeButton(QStringLiteral("修改"), [this, slot] { (this->*slot)(); });
        QPushButton* cancel = makeButton(QStringLiteral("取消"), [this] { reject(); });
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
    layout->addWidget(group(QStringLiteral("按客户区域"), byDistrict, &TFchengpi_xiugai_ticheng::changeByDistrict));
    layout->addWidget(group(QStringLiteral("按客户类型"), byType, &TFchengpi_xiugai_ticheng::changeByType));

    connect(district_, &QComboBox::currentIndexChanged, this, &TFchengpi_xiugai_ticheng::districtChosen);
}

void TFchengpi_xiugai_ticheng::reload()
{
    CustomerCommissionBatch batch(appDb());
    subDistrict_->clear();
    runAction(this, [&] {
        const QSignalBlocker block(district_);
        fill(district_, batch.districts());
        fill(type_, batch.customerTypes());
    });
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
    subDistrict_->clear();
    runAction(this, [&] { fill(subDistrict_, CustomerCommissionBatch(appDb()).subDistricts(district)); });
}

void TFchengpi_xiugai_ticheng::changeByDistrict()
{
    const Outcome o = runAction(this, [this] {
        return CustomerCommissionBatch(appDb())
            .byDistrict(district_->currentText(), subDistrict_->currentText(), districtRate_->text());
    });
    if (o)
        Messages::instance().information(this, o.message);
}

void TFchengpi_xiugai_ticheng::changeByType()
{
    const Outcome o = runAction(
        this, [this] { return CustomerCommissionBatch(appDb()).byCustomerType(type_->currentText(), typeRate_->text()); });
    if (o)
        Messages::instance().information(this, o.message);
}

} // namespace ts
