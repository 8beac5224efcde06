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
    void changeByDistrict();  // 按客户区域: 修改
    void changeByType();      // 按客户类型: 修改

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
