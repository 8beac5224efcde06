#include "orders/Upeisongyuan_list.h"

#include "app/app_context.h"
#include "orders/Upeisongyuan_add.h"
#include "orders/workers.h"
#include "widgets/form_helpers.h"

namespace ts {

Tpeisongyuan_list::Tpeisongyuan_list(QWidget* parent)
    : NameListForm(QStringLiteral("Tpeisongyuan_list"), QStringLiteral("配送员列表"), QStringLiteral("配送员"),
                {QStringLiteral("姓名"), QStringLiteral("电话"), QStringLiteral("所用车辆"), QStringLiteral("配送提成")},
                parent)
{
    resize(560, 380);
}

Rows Tpeisongyuan_list::rows()
{
    return DeliveryWorkers(appDb()).list();
}

Tpeisongyuan_add* Tpeisongyuan_list::editor()
{
    if (auto* shared = FormRegistry::instance().get<Tpeisongyuan_add>())
        return shared;
    if (!ownEditor_)
        ownEditor_ = new Tpeisongyuan_add(this);
    return ownEditor_;
}

void Tpeisongyuan_list::editNew()
{
    Tpeisongyuan_add* e = editor();
    e->startNew();
    execOver(e, this);
}

void Tpeisongyuan_list::editNamed(const QString& name)
{
    // Another station may have deleted the worker meanwhile: then the list
    // is simply read again.
    const auto worker = DeliveryWorkers(appDb()).find(name);
    if (!worker)
        return;
    Tpeisongyuan_add* e = editor();
    e->startEdit(*worker);
    execOver(e, this);
}

void Tpeisongyuan_list::removeNamed(const QString& name)
{
    DeliveryWorkers(appDb()).remove(name);
}

} // namespace ts
