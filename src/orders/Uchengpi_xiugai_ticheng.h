#pragma once

#include "widgets/form_registry.h"

class QComboBox;
class QLineEdit;

namespace ts {

// "成批修改客户提成": sets the commission rate of many customers at once,
// by district or by customer type. Opened from the station settings.
class TFchengpi_xiugai_ticheng : public Form {
    Q_OBJECT
public:
    explicit TFchengpi_xiugai_ticheng(QWidget* parent = nullptr);

public slots:
    void Button1Click();  // 修改, by district
    void Button3Click();  // 修改, by customer type

protected:
    void reload() override;

private:
    void districtChosen();

    QComboBox* district_;
    QComboBox* subDistrict_;
    QLineEdit* districtRate_;
    QComboBox* type_;
    QLineEdit* typeRate_;
};

} // namespace ts
