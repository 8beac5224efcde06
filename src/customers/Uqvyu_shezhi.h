#pragma once

#include "widgets/form_registry.h"

class QComboBox;
class QLineEdit;
class QTabWidget;

namespace ts {

class DataGrid;

// "客户区域设置": first-level regions and their sub-areas.
class Tqvyu_shezhi : public Form {
    Q_OBJECT
public:
    explicit Tqvyu_shezhi(QWidget* parent = nullptr);

public slots:
    void addRegion();
    void removeRegion();
    void addSubArea();
    void removeSubArea();

protected:
    void reload() override;

private:
    void pageChanged(int index);
    void showRegions();
    void showSubAreas();

    QTabWidget* pages_;
    QLineEdit* region_;
    DataGrid* regions_;
    QComboBox* subRegion_;
    QLineEdit* subArea_;
    DataGrid* subAreas_;
};

} // namespace ts
