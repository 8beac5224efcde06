#include "orders/Uorder_wiring.h"

#include "app/Umain.h"
#include "app/Uwiring.h"
#include "customers/Ukehu_list.h"
#include "orders/Uxiaoshou.h"
#include "widgets/form_helpers.h"
#include "widgets/form_registry.h"

namespace ts {

namespace {

// An order form already open holds the operator's work: another entry
// brings it to the front instead of starting it again.
bool bringToFront(Txiaoshou* form)
{
    if (!form->isVisible())
        return false;
    form->raise();
    form->activateWindow();
    return true;
}

} // namespace

void wireOrderForms(Tmain& main)
{
    FormRegistry& forms = FormRegistry::instance();
    forms.add<Txiaoshou>();

    // The menu takes one order and comes back; the toolbar button leaves the
    // form open beside the board.
    main.registerForm(QStringLiteral("Txiaoshou"), Tmain::EntryOpener([](QWidget* parent, const QString& entry) {
                          auto* form = FormRegistry::instance().get<Txiaoshou>();
                          if (!form || bringToFront(form))
                              return;
                          form->prepare();
                          if (entry.startsWith(QStringLiteral("toolbar/")))
                              openModeless(QStringLiteral("Txiaoshou"), parent);
                          else
                              openModal(QStringLiteral("Txiaoshou"), parent);
                      }));

    Tkehu_list::setCustomerAction(QStringLiteral("手工开单"), [](const QVariantMap& customer, QWidget* list) {
        auto* form = FormRegistry::instance().get<Txiaoshou>();
        if (!form)
            return;
        const qint64 id = customer.value(QStringLiteral("id")).toLongLong();
        if (form->isVisible()) {
            form->showCustomer(id);
            return;
        }
        form->prepare(id);
        execOver(form, list);
    });
}

} // namespace ts
