#include "stock/Ustock_wiring.h"

#include "app/Umain.h"
#include "app/Uwiring.h"
#include "stock/Ugonghuoshang_add.h"
#include "stock/Ugonghuoshang_list.h"
#include "stock/Ukufang_guanli.h"
#include "stock/Ushangpin_add.h"
#include "stock/Ushangpin_leixing.h"
#include "stock/Ushangpin_list.h"
#include "widgets/form_registry.h"

namespace ts {

void wireStockForms(Tmain& main)
{
    FormRegistry& forms = FormRegistry::instance();
    forms.add<Tshangpin_list>();
    forms.add<Tshangpin_add>();
    forms.add<Tkufang_guanli>();
    forms.add<TFshangpin_leixing>();
    forms.add<TFgonghuoshang_add>();
    forms.add<TFgonghuoshang_list>();

    for (const char* form : {"Tshangpin_list", "Tkufang_guanli", "TFgonghuoshang_list"}) {
        const QString name = QString::fromLatin1(form);
        main.registerForm(name, Tmain::Opener([name](QWidget* parent) { openModal(name, parent); }));
    }
}

} // namespace ts
