#include "orders/Ustaff_wiring.h"

#include "app/Umain.h"
#include "app/Uwiring.h"
#include "orders/Uchengpi_xiugai_ticheng.h"
#include "orders/Upeisongyuan_add.h"
#include "orders/Upeisongyuan_list.h"
#include "orders/Uticheng_mingxi.h"
#include "orders/Uyewuyuan_add.h"
#include "orders/Uyewuyuan_guanli.h"
#include "orders/Uyewuyuan_ticheng.h"
#include "widgets/form_registry.h"

namespace ts {

void wireStaffForms(Tmain& main)
{
    FormRegistry& forms = FormRegistry::instance();
    forms.add<Tpeisongyuan_list>();
    forms.add<Tpeisongyuan_add>();
    // The detail is opened by the delivery commission report, the batch
    // change by the station settings; neither has a menu entry of its own.
    forms.add<Tticheng_mingxi>();
    forms.add<TFyewuyuan_ticheng>();
    forms.add<TFchengpi_xiugai_ticheng>();
    forms.add<TFyewuyuan_guanli>();
    forms.add<TFyewuyuan_add>();

    for (const QString& name : {QStringLiteral("Tpeisongyuan_list"), QStringLiteral("TFyewuyuan_guanli"),
                                QStringLiteral("TFyewuyuan_ticheng")})
        main.registerForm(name, Tmain::Opener([name](QWidget* parent) { openModal(name, parent); }));
}

} // namespace ts
