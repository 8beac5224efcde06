#pragma once

#include "storage/money.h"
#include "storage/rows.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <functional>

class QSqlQuery;
class QTableView;

namespace ts {

class Db;

class DataGridModel;
class DataGridFooter;

// The grid of every list in the program: read-only rows loaded from a query,
// with column titles, hidden columns, a footer of sums and texts, and (where a
// form switches it on) the title-click sort.
//
// A grid given a statement (load(Db&, const Query&)) never holds the whole
// result: it counts the rows, reads the pages the screen and the callers ask
// for, sums the footer with one aggregate statement and sorts by running the
// statement again in the clicked order. Rows given to it are kept as they are.
//
// Columns are configured by field name before or after loading; the settings
// stay for every later load. Field names match without regard to case, since
// PostgreSQL folds the case of unquoted Latin aliases.
class DataGrid : public QWidget {
    Q_OBJECT
public:
    enum class SortState { None, Ascending, Descending };

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // Fields shown, in this order; any other loaded field is kept (value()
    // reads it) but not shown. Empty: every field, in the query's order.
    void setColumns(const QStringList& fields);
    void setTitle(const QString& field, const QString& title);
    void setColumnHidden(const QString& field, bool hidden = true);
    // The footer cell of a column: the sum of the loaded rows, or a fixed text.
    void setFooterSum(const QString& field);
    void setFooterText(const QString& field, const QString& text);
    void clearFooter();
    // Title clicks sort the loaded rows only on grids that switch this on.
    void setSortable(bool on);
    // A column that shows a looked-up name sorts by the key it was looked up with.
    void setSortKey(const QString& field, const QString& keyField);
    // Background of a row (as shown, after any sort); an invalid colour keeps
    // the grid's own.
    void setRowColor(std::function<QColor(int row)> color);

    // Reads every row of the query (which must be active) and opens the grid's
    // data set. A sort chosen on an earlier load is applied to the new rows.
    void load(QSqlQuery& query);
    // Shows the rows of a select. Lists that may be long are given the
    // statement, not its rows, so that the grid reads only what it shows.
    // The statement's own trailing order by is the unsorted order and breaks
    // ties of a title sort; without one, the order of its pages is the
    // engine's. db must outlive the grid's data set.
    void load(Db& db, const Query& query);
    void load(const Rows& rows);
    void setRows(const QStringList& fields, const QList<QVariantList>& rows);
    // Empties the grid and closes its data set: nothing to sort, no sums.
    void closeData();
    bool isOpen() const { return open_; }

    QStringList fields() const;
    int rowCount() const;
    // Row numbers are positions as shown, after any sort.
    QVariant value(int row, const QString& field) const;
    QString text(int row, const QString& field) const;  // as the cell shows it
    QVariantMap rowValues(int row) const;
    int currentRow() const;  // -1 when there is none
    void setCurrentRow(int row);
    QVariantMap currentValues() const;  // empty when there is no current row
    // The first row (as shown) whose field holds value, or -1. On a grid
    // given a statement this asks the engine instead of reading every page.
    int findRow(const QString& field, const QVariant& value) const;
    // Every row in the order shown, read at once (for exporting a list).
    Rows allRows() const;

    QString title(const QString& field) const;
    bool isColumnShown(const QString& field) const;
    QString footerText(const QString& field) const;
    SortState sortState(const QString& field) const;

    // What a click on the column's title does.
    void clickTitle(const QString& field);

    QTableView* view() const { return view_; }

signals:
    void currentRowChanged(int row);
    void rowDoubleClicked(int row);

private:
    struct FooterCell {
        bool sum = false;
        QString text;
    };

    int fieldIndex(const QString& field) const;
    void applyColumns();
    void measureColumns();
    void updateFooter();
    void onSectionClicked(int column);
    void sortBy(int fieldIndex, SortState state);
    void showSortMarker();
    QString key(const QString& field) const { return field.toLower(); }

    QTableView* view_;
    DataGridModel* model_;
    DataGridFooter* footer_;
    bool open_ = false;
    bool sortable_ = false;

    QStringList columns_;
    QMap<QString, QString> titles_;
    QMap<QString, bool> hidden_;
    QMap<QString, FooterCell> footerCells_;
    QMap<QString, QString> footerShown_;
    QMap<QString, QString> sortKeys_;
    QMap<QString, int> widths_;
    bool measuring_ = false;
    QMap<QString, Money> sumCache_;  // footer sums of the statement loaded  // measured once per field, kept for later loads

    QString sortField_;  // the clicked column's field; empty when unsorted
    SortState sortState_ = SortState::None;
};

} // namespace ts
