#pragma once

#include "customers/customer_records.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace ts {

class DataGrid;

// "客户管理": one customer, new or edited, with his special prices and, for
// a new customer, a ticket sale. Made for one use by the customer list.
class Tkehu_add : public QDialog {
    Q_OBJECT
public:
    // customerId 0: a new customer.
    explicit Tkehu_add(qint64 customerId = 0, QWidget* parent = nullptr);

    // The customer saved last by this form; 0 before any save.
    qint64 savedId() const { return savedId_; }

public slots:
    void saveAndClose();  // 确定
    void saveAndNext();   // 确定并录入新的客户

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildBasicPage();
    QWidget* buildPricePage();
    QWidget* buildTicketPage();
    void fillChoices();
    void fillSubAreas();
    void showCustomer(const CustomerInput& c);
    void startNewCustomer();
    CustomerInput customerInput() const;
    TicketSaleInput ticketSale() const;
    bool save();
    void pageChanged(int index);
    void reloadPrices();
    void addPrice();
    void removePrice();
    void ticketKindChosen();
    void addTicketNumbers();
    void removeTicketNumbers();

    qint64 customerId_;
    qint64 savedId_ = 0;
    QString nameAtOpening_;
    QString pointsAtOpening_;
    bool mayEditPoints_;

    QTabWidget* pages_;
    QComboBox* type_;
    QLineEdit* name_;
    QLineEdit* address_;
    QLineEdit* phone_;
    QComboBox* region_;
    QComboBox* subArea_;
    QLineEdit* code_;
    QLineEdit* points_;
    QLineEdit* company_;
    QLineEdit* idNumber_;
    QLineEdit* birthday_;
    QLineEdit* note_;
    QLineEdit* cleaningDays_;
    QComboBox* salesperson_;
    QLineEdit* commission_;
    QPushButton* ok_;
    QPushButton* okNext_;
    QPushButton* cancel_;
    QList<QWidget*> enterOrder_;
    QLabel* status_;

    DataGrid* products_;
    DataGrid* prices_;
    QLineEdit* priceProduct_;
    QLineEdit* price_;

    QWidget* ticketPage_;
    QCheckBox* sell_;
    QGroupBox* saleBox_;
    QComboBox* ticketKind_;
    QLineEdit* unitPrice_;
    QLineEdit* quantity_;
    QLineEdit* due_;
    QLineEdit* paid_;
    QLineEdit* saleNote_;
    QCheckBox* tracking_;
    QGroupBox* trackingBox_;
    QLineEdit* prefix_;
    QLineEdit* from_;
    QLineEdit* to_;
    QListWidget* numbers_;
};

} // namespace ts
