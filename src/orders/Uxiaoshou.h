#pragma once

#include "orders/order_basket.h"
#include "orders/order_entry.h"
#include "storage/money.h"
#include "widgets/form_registry.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;
class QTimeEdit;

namespace ts {

class DataGrid;

// "订水": an order taken by hand. The operator finds the customer (or types
// a new one), picks products into the basket, and confirms; OrderEntry does
// the work, the form shows and asks.
class Txiaoshou : public Form {
    Q_OBJECT
public:
    // The mode in which the customer list hands its choice to this form.
    static inline const QString kPickMode = QStringLiteral("销售1");

    explicit Txiaoshou(QWidget* parent = nullptr);
    ~Txiaoshou() override;

    // What the next opening starts from: the customer to load (0: none) and
    // the telephone to log a call for (empty: no call).
    void prepare(qint64 customerId = 0, const QString& phone = {});
    // A customer handed to the open form (the customer list's picker or its
    // 手工开单): the customer load, and the form to the front.
    void showCustomer(qint64 customerId);

    // What a button of the customer panel opens for the customer on the
    // form ("欠桶查看详细", "饮水机查看详细", "签单查看详细", "水票销售").
    // Those windows are built elsewhere; a button nobody registered is off.
    using CustomerAction = std::function<void(qint64 customerId, const QString& name, QWidget* form)>;
    static void setCustomerAction(const QString& button, CustomerAction action);

    // "订水" once an order was confirmed since the opening, else empty.
    QString orderResult() const { return result_; }

public slots:
    void confirmOrder();      // 订水(&S)
    void saveCustomerOnly();  // 只保存新客户资料
    void showSms();           // 显示短信内容并复制到剪贴板

protected:
    void reload() override;
    // Every way out (退出, Escape, the window's close box, after saving)
    // leaves no basket behind.
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildBasicPage();
    QWidget* buildStatusPanel();
    QWidget* buildTicketPage();
    QWidget* buildTotalsPage();
    QWidget* buildProducts();
    QWidget* buildBasket();

    OrderEntry entry() const;
    OrderDraft draft() const;

    void becomeNewCustomer();
    void showLoaded(const CustomerView& c);
    void clearStatus();
    void setWarning(QLineEdit* value, bool warn);
    void search(CustomerField field);
    void pickCustomer(CustomerField field, const QString& typed);
    void nameChosen(int index);
    void fillSubDistricts();
    void addProduct(int row);
    void addLastProduct();
    void showBasket();
    void basketEdited(QTableWidgetItem* item);
    void removeLine();
    void collectToggled(bool on);
    void runCustomerAction(const QString& button);
    void updateActionButtons();
    void focusBasket();
    void closeOrder();
    void clearInputs();

    static std::map<QString, CustomerAction>& actions();

    std::optional<OrderBasket> basket_;
    qint64 customerId_ = 0;  // 0: "无"
    qint64 preloadId_ = 0;
    Money rate_;
    QString result_;
    qint64 callRow_ = 0;  // the call logged at opening, 0 when none
    bool showingBasket_ = false;

    QTabWidget* pages_;
    QLineEdit* phone_;
    QComboBox* name_;
    QLabel* id_;
    QLineEdit* code_;
    QRadioButton* newCustomer_;
    QRadioButton* oldCustomer_;
    QPushButton* saveOnly_;
    QPushButton* saveOnlyHelp_;
    QComboBox* type_;
    QLineEdit* company_;
    QComboBox* district_;
    QComboBox* subDistrict_;
    QLineEdit* address_;
    QLineEdit* remark_;
    QComboBox* warehouse_;
    QComboBox* payment_;
    QCheckBox* booked_;
    QDateEdit* bookingDate_;
    QTimeEdit* bookingTime_;

    QLineEdit* owedBuckets_;
    QLineEdit* dispenser_;
    QLineEdit* lastOrder_;
    QLineEdit* iou_;
    QLineEdit* cleaningDays_;
    QLineEdit* lastCleaning_;
    QLineEdit* nextCleaning_;
    QLineEdit* lastProduct_;
    QLineEdit* prepayment_;
    QLineEdit* deposit_;
    QPushButton* bucketsDetail_;
    QPushButton* dispenserDetail_;
    QPushButton* iouDetail_;
    QPushButton* ticketSale_;
    QLineEdit* totalUnits_;
    QLineEdit* totalOrders_;
    QLineEdit* totalAmount_;

    DataGrid* tickets_;
    DataGrid* products_;
    QTableWidget* basketView_;
    QLabel* workerLabel_;
    QComboBox* worker_;
    QCheckBox* collect_;
    QCheckBox* sms_;
    QLineEdit* deliveryRemark_;
    QPushButton* confirm_;
};

} // namespace ts
