#include "customers/Ucustomer_wiring.h"

#include "app/Umain.h"
#include "app/Uwiring.h"
#include "customers/Ukehu_leixing.h"
#include "customers/Ukehu_list.h"
#include "customers/Uqvyu_shezhi.h"
#include "widgets/form_registry.h"

namespace ts {

void wireCustomerForms(Tmain& main)
{
    FormRegistry& forms = FormRegistry::instance();
    forms.add<Tkehu_list>();
    forms.add<Tqvyu_shezhi>();
    forms.add<TFkehu_leixing>();

    // From the main window the list manages; whoever picked last leaves no
    // mode behind.
    main.registerForm(QStringLiteral("Tkehu_list"), Tmain::Opener([](QWidget* parent) {
                          if (auto* list = FormRegistry::instance().get<Tkehu_list>())
                              list->setPickMode(QString());
                          openModeless(QStringLiteral("Tkehu_list"), parent);
                      }));
    main.registerForm(QStringLiteral("Tqvyu_shezhi"),
                      Tmain::Opener([](QWidget* parent) { openModal(QStringLiteral("Tqvyu_shezhi"), parent); }));
    main.registerForm(QStringLiteral("TFkehu_leixing"),
                      Tmain::Opener([](QWidget* parent) { openModal(QStringLiteral("TFkehu_leixing"), parent); }));
}

} // namespace ts
