#include "customers/Uqvyu_shezhi.h"

#include "app/app_context.h"
#include "customers/customer_list.h"
#include "customers/customer_setup.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ts {

namespace {

// Area names the stations use run to about this length.
const QString kLongArea = QStringLiteral("中关村软件园二期");

bool confirmDelete(QWidget* parent)
{
    return Messages::instance().question(parent, LoginValues::current().companyShortName + QStringLiteral("razeroz"),
                                         QStringLiteral("确实要删除吗？"));
}

} // namespace

Tqvyu_shezhi::Tqvyu_shezhi(QWidget* parent)
    : Form(parent)
{
    setObjectName(QStringLiteral("Tqvyu_shezhi"));
    setWindowTitle(QStringLiteral("客户区域设置"));
    resize(480, 420);

    auto* big = new QWidget;
    big->setObjectName(QStringLiteral("大区域设置"));
    region_ = makeLineEdit(QStringLiteral("一级区域"), big);
    fitWidthTo(region_, kLongArea);
    regions_ = new DataGrid(big);
    regions_->setObjectName(QStringLiteral("区域列表"));
    regions_->setTitle(QStringLiteral("区域"), QStringLiteral("一级区域"));
    QPushButton* addRegion = makeButton(QStringLiteral("添加"), {}, big);
    QPushButton* removeRegion = makeButton(QStringLiteral("删除"), {}, big);
    connect(addRegion, &QPushButton::clicked, this, &Tqvyu_shezhi::addRegion);
    connect(removeRegion, &QPushButton::clicked, this, &Tqvyu_shezhi::removeRegion);
    auto* bigRow = new QHBoxLayout;
    bigRow->addWidget(new QLabel(QStringLiteral("一级区域"), big));
    bigRow->addWidget(region_, 1);
    bigRow->addWidget(addRegion);
    bigRow->addWidget(removeRegion);
    auto* bigLayout = new QVBoxLayout(big);
    bigLayout->addLayout(bigRow);
    bigLayout->addWidget(regions_);

    auto* small = new QWidget;
    small->setObjectName(QStringLiteral("小区域设置"));
    subRegion_ = makeComboBox(QStringLiteral("一级区域"), small);
    subArea_ = makeLineEdit(QStringLiteral("二级区域"), small);
    fitWidthTo(subArea_, kLongArea);
    subAreas_ = new DataGrid(small);
    subAreas_->setObjectName(QStringLiteral("小区域列表"));
    subAreas_->setTitle(QStringLiteral("区域"), QStringLiteral("一级区域"));
    subAreas_->setTitle(QStringLiteral("小区域"), QStringLiteral("二级区域"));
    QPushButton* addSub = makeButton(QStringLiteral("添加"), {}, small);
    QPushButton* removeSub = makeButton(QStringLiteral("删除"), {}, small);
    connect(addSub, &QPushButton::clicked, this, &Tqvyu_shezhi::addSubArea);
    connect(removeSub, &QPushButton::clicked, this, &Tqvyu_shezhi::removeSubArea);
    auto* smallRow = new QHBoxLayout;
    smallRow->addWidget(new QLabel(QStringLiteral("一级区域"), small));
    smallRow->addWidget(subRegion_);
    smallRow->addWidget(new QLabel(QStringLiteral("二级区域"), small));
    smallRow->addWidget(subArea_, 1);
    smallRow->addWidget(addSub);
    smallRow->addWidget(removeSub);
    auto* smallLayout = new QVBoxLayout(small);
    smallLayout->addLayout(smallRow);
    smallLayout->addWidget(subAreas_);

    pages_ = new QTabWidget(this);
    pages_->addTab(big, QStringLiteral("大区域设置"));
    pages_->addTab(small, QStringLiteral("小区域设置"));
    connect(pages_, &QTabWidget::currentChanged, this, &Tqvyu_shezhi::pageChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
}

void Tqvyu_shezhi::reload()
{
    showRegions();
    pageChanged(pages_->currentIndex());
}

void Tqvyu_shezhi::pageChanged(int index)
{
    if (index != 1)
        return;
    runAction(this, [this] {
        setChoices(subRegion_, CustomerList(appDb()).regions(), subRegion_->currentText());
        showSubAreas();
    });
}

void Tqvyu_shezhi::showRegions()
{
    regions_->load(Regions(appDb()).regions());
}

void Tqvyu_shezhi::showSubAreas()
{
    subAreas_->load(Regions(appDb()).subAreas());
}

void Tqvyu_shezhi::addRegion()
{
    runAction(this, [this] {
        const Outcome o = Regions(appDb()).addRegion(region_->text());
        if (o) {
            region_->clear();
            showRegions();
        }
        return o;
    });
}

void Tqvyu_shezhi::removeRegion()
{
    const QVariantMap row = regions_->currentValues();
    if (row.isEmpty() || !confirmDelete(this))
        return;
    runAction(this, [&] {
        Regions(appDb()).removeRegion(row.value(QStringLiteral("区域")).toString());
        showRegions();
    });
}

void Tqvyu_shezhi::addSubArea()
{
    runAction(this, [this] {
        const Outcome o = Regions(appDb()).addSubArea(subRegion_->currentText(), subArea_->text());
        if (o) {
            subArea_->clear();
            showSubAreas();
        }
        return o;
    });
}

void Tqvyu_shezhi::removeSubArea()
{
    const QVariantMap row = subAreas_->currentValues();
    if (row.isEmpty() || !confirmDelete(this))
        return;
    runAction(this, [&] {
        Regions(appDb()).removeSubArea(row.value(QStringLiteral("区域")).toString(),
                                       row.value(QStringLiteral("小区域")).toString());
        showSubAreas();
    });
}

} // namespace ts
