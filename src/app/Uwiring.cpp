#include "app/Uwiring.h"

#include "app/Ucaozuoyuan_add.h"
#include "app/Ucaozuoyuan_list.h"
#include "app/Umain.h"
#include "app/Uxiugai_mima.h"
#include "customers/Ucustomer_wiring.h"
#include "orders/Uorder_wiring.h"
#include "orders/Ustaff_wiring.h"
#include "stock/Ustock_wiring.h"
#include "widgets/form_helpers.h"
#include "widgets/form_registry.h"

#include <QDialog>

namespace ts {

void openModal(const QString& formClass, QWidget* parent)
{
    QWidget* w = FormRegistry::instance().form(formClass);
    if (!w)
        return;
    if (auto* d = qobject_cast<QDialog*>(w)) {
        execOver(d, parent);
        return;
    }
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
}

void openModeless(const QString& formClass, QWidget* parent)
{
    QWidget* w = FormRegistry::instance().form(formClass);
    if (!w)
        return;
    // A list that stays open beside the board belongs to no caller.
    (void)parent;
    w->setWindowModality(Qt::NonModal);
    w->show();
    w->raise();
    w->activateWindow();
}

void wireForms(Tmain& main)
{
    FormRegistry& forms = FormRegistry::instance();
    forms.add<Txiugai_mima>();
    forms.add<Tcaozuoyuan_list>();
    forms.add<Tcaozuoyuan_add>();
    main.registerForm(QStringLiteral("Tcaozuoyuan_list"),
                      [](QWidget* parent) { openModal(QStringLiteral("Tcaozuoyuan_list"), parent); });
    main.registerForm(QStringLiteral("Txiugai_mima"),
                      [](QWidget* parent) { openModal(QStringLiteral("Txiugai_mima"), parent); });

    wireStockForms(main);
    wireStaffForms(main);
    wireCustomerForms(main);
    wireOrderForms(main);
}

} // namespace ts
