#pragma once

#include "customers/customer_list.h"
#include "widgets/form_registry.h"

#include <functional>
#include <map>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace ts {

class DataGrid;

// "客户资料": the customer list, both the management screen and the
// customer picker of other forms (see CustomerPicker).
class Tkehu_list : public Form {
    Q_OBJECT
public:
    explicit Tkehu_list(QWidget* parent = nullptr);

    // Empty for plain management; a mode text when another form picks.
    void setPickMode(const QString& mode) { pickMode_ = mode; }
    QString pickMode() const { return pickMode_; }
    // Opens the list for picking in `mode`, over `parent`, until a customer
    // is picked or the list is closed. The list's first search is by the
    // texts of `preset` (name, telephone, manual code, address): a
    // form that searched without finding one customer shows what it found.
    static void pick(const QString& mode, QWidget* parent, const CustomerFilter& preset = {});

    // What an entry of the list's pop-up menu (手工开单, 水票销售, 水票回收,
    // 空桶出租, 空桶回收, 客户追踪, 预交货款) does with the current customer;
    // an entry nobody registered stays disabled.
    using CustomerAction = std::function<void(const QVariantMap& customer, QWidget* list)>;
    static void setCustomerAction(const QString& entry, CustomerAction action);

    DataGrid* grid() const { return grid_; }

public slots:
    void search();        // 查询
    void newCustomer();   // 新建
    void editCustomer();  // 修改
    void deleteCustomer();  // 删除
    void importCustomers();  // excel文件成批导入
    void exportCustomers();  // 导出至excel文件
    void importNotes();      // 导入须知

protected:
    void reload() override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CustomerFilter filter() const;
    void runSearch(const CustomerFilter& f, qint64 keepId = 0, bool toLast = false);
    void showRegionSummary();
    void showTickets(int row);
    void fillSubAreas();
    void pickRow(int row, bool typing);
    void runCustomerAction(const QString& entry);
    qint64 currentId() const;

    static std::map<QString, CustomerAction>& actions();

    QString pickMode_;
    QLineEdit* name_;
    QLineEdit* phone_;
    QLineEdit* code_;
    QLineEdit* address_;
    QLineEdit* company_;
    QComboBox* region_;
    QComboBox* subArea_;
    QComboBox* type_;
    QCheckBox* period_;
    QDateEdit* from_;
    QDateEdit* to_;
    QCheckBox* noCommission_;
    QCheckBox* byLastOrder_;
    QLabel* count_;
    QStackedWidget* stack_;
    DataGrid* grid_;
    DataGrid* summary_;
    DataGrid* tickets_;
    QPushButton* follow_;
    QPushButton* import_;
    QPushButton* export_;
    QList<QAction*> spreadsheetActions_;
    QMenu* popup_;
};

} // namespace ts
