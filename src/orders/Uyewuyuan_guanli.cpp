#include "orders/Uyewuyuan_guanli.h"

#include "app/app_context.h"
#include "orders/Uyewuyuan_add.h"
#include "orders/salespeople.h"
#include "widgets/form_helpers.h"

namespace ts {

TFyewuyuan_guanli::TFyewuyuan_guanli(QWidget* parent)
    : NameListForm(QStringLiteral("TFyewuyuan_guanli"), QStringLiteral("业务员管理"), QStringLiteral("业务员"),
                {QStringLiteral("姓名")}, parent)
{
    resize(380, 340);
}

Rows TFyewuyuan_guanli::rows()
{
    return Salespeople(appDb()).list();
}

TFyewuyuan_add* TFyewuyuan_guanli::editor()
{
    if (auto* shared = FormRegistry::instance().get<TFyewuyuan_add>())
        return shared;
    if (!ownEditor_)
        ownEditor_ = new TFyewuyuan_add(this);
    return ownEditor_;
}

void TFyewuyuan_guanli::editNew()
{
    TFyewuyuan_add* e = editor();
    e->startNew();
    execOver(e, this);
}

void TFyewuyuan_guanli::editNamed(const QString& name)
{
    TFyewuyuan_add* e = editor();
    e->startEdit(name);
    execOver(e, this);
}

void TFyewuyuan_guanli::removeNamed(const QString& name)
{
    Salespeople(appDb()).remove(name);
}

} // namespace ts
