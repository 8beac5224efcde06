#pragma once

#include "orders/order_board.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <functional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ts {

class DataGrid;
struct LoginValues;

// The order board in the middle of the main window: today's order lines
// coloured by state, the day's figures beside them, the filter panel, the
// quick-entry strip and the operations on the selected line.
class MainBoard : public QWidget {
    Q_OBJECT
public:
    // What a form opened on a line of the board is handed: the line as the
    // board shows it and the entry that asked ("收票", "预付回单", …).
    using LineOpener = std::function<void(QWidget* parent, const QVariantMap& line, const QString& entry)>;
    // Finds the opener of a form that works on a line; empty while that form
    // is not part of the program yet.
    using LineForms = std::function<LineOpener(const QString& formClass)>;

    MainBoard(LoginValues& login, LineForms forms, QWidget* parent = nullptr);

    DataGrid* grid() const { return grid_; }

    // shuaxinmain: today's lines again (keeping the worker filter and the
    // order), the cursor on the last line, the day's figures.
    void refresh();
    // 查询 of the filter panel.
    void search();

    // The operation behind a toolbar, menu or pop-up entry, by its caption
    // ("发货", "收款", "预付回单", "退款", …).
    void operate(const QString& entry);
    // The form an entry's operation ends in.
    static QString formOf(const QString& entry);

    // Plays and stops a recorded call; the call log brings the player. The
    // two buttons stay off until then.
    void setPlayer(std::function<void(const QString& file)> play, std::function<void()> stop);
    // 录音重放 on the selected line.
    void playRecording();

    void applyRights(const LoginValues& login);
    // A line form became part of the program: its pop-up entries may work.
    void updateEntries();

    // The figure values by caption without the colon ("今日订水" → "7  桶").
    QString figure(const QString& caption) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BoardFilter panelFilter() const;
    BoardFilter refreshFilter() const;
    void load(const BoardFilter& filter);
    void showFigures();
    void showPanel(bool shown);
    void fillSubRegions();
    void setColourShown(bool on);
    void batchDeliver();
    void printBoard();     // 成批打印
    void printDocument();  // 单张打印
    void exportBoard();    // 导出到EXCEL
    QVariantMap selectedLine() const;
    QString selectedDocument() const;
    bool openLine(const QString& formClass, const QVariantMap& line, const QString& entry);
    QWidget* buildPanel();
    QWidget* buildFigures();
    QWidget* buildPrinting();
    QWidget* buildLegend();
    QWidget* buildQuickStrip();

    LoginValues& login_;
    LineForms forms_;
    DataGrid* grid_;
    bool colour_ = false;

    QLineEdit* quickPhone_;
    QPushButton* quickOrder_;
    QPushButton* showPanel_;
    QComboBox* batchStyle_;
    QPushButton* play_;
    QPushButton* stopPlaying_;
    std::function<void(const QString&)> player_;
    std::function<void()> stopPlayer_;
    QComboBox* singleStyle_;
    QGroupBox* panel_;
    QRadioButton* allRegions_;
    QRadioButton* oneRegion_;
    QComboBox* region_;
    QComboBox* subRegion_;
    QCheckBox* byWorker_;
    QComboBox* worker_;
    QRadioButton* byTime_;
    QRadioButton* byRegion_;
    QButtonGroup* states_;
    QRadioButton* today_;
    QRadioButton* period_;
    QDateEdit* from_;
    QDateEdit* to_;
    QCheckBox* colourBox_;
    QHash<QString, QLabel*> figures_;
    QMenu* popup_;
    QList<QAction*> popupEntries_;
};

} // namespace ts
