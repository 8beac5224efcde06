#include "widgets/data_grid.h"

#include "storage/dates.h"
#include "storage/db.h"
#include "storage/money.h"

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

namespace ts {

namespace {

bool isNumberType(QMetaType t)
{
    switch (t.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:  // so that they order as SQLite's 0 and 1 do
        return true;
    default:
        return t == QMetaType::fromType<Money>();
    }
}

double numberOf(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Money>())
        return v.value<Money>().toDouble();
    return v.toDouble();
}

// Whether a column holds numbers: its type from the query where the engine
// tells it, else the values themselves. PostgreSQL hands numeric columns over
// as exact text, so there the field type is what makes them numbers.
bool isNumberColumn(QMetaType fieldType, const QList<QVariantList>& rows, int column)
{
    if (isNumberType(fieldType))
        return true;
    bool any = false;
    for (const QVariantList& r : rows) {
        const QVariant& v = r.at(column);
        if (v.isNull())
            continue;
        if (!isNumberType(v.metaType()))
            return false;
        any = true;
    }
    return any;
}

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

// Rows in load order plus the order they are shown in; a sort only permutes
// the second, so "no sort" is the load order again.
class DataGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setData(const QStringList& fields, const QList<QMetaType>& types, QList<QVariantList> rows)
    {
        beginResetModel();
        fields_ = fields;
        numbers_.clear();
        for (int c = 0; c < fields.size(); ++c)
            numbers_.push_back(isNumberColumn(c < types.size() ? types.at(c) : QMetaType(), rows, c));
        rows_ = std::move(rows);
        order_.resize(rows_.size());
        std::iota(order_.begin(), order_.end(), 0);
        endResetModel();
    }

    void setPresentation(std::vector<int> columnFields, QStringList titles)
    {
        beginResetModel();
        columns_ = std::move(columnFields);
        titles_ = std::move(titles);
        endResetModel();
    }

    void sort(int field, DataGrid::SortState state)
    {
        beginResetModel();
        std::iota(order_.begin(), order_.end(), 0);
        if (state != DataGrid::SortState::None && field >= 0) {
            const bool number = numbers_.at(field);
            // Keys are read once; the order board can hold thousands of rows.
            std::vector<double> nums;
            QStringList texts;
            std::vector<bool> nulls(rows_.size());
            for (qsizetype i = 0; i < rows_.size(); ++i) {
                const QVariant& v = rows_.at(i).at(field);
                nulls[i] = v.isNull();
                if (number)
                    nums.push_back(nulls[i] ? 0.0 : numberOf(v));
                else
                    texts << displayText(field, v);
            }
            // Empty values first, as the database sorts them; equal keys keep
            // their load order in both directions.
            auto less = [&](int a, int b) {
                if (nulls[a] != nulls[b])
                    return bool(nulls[a]);
                if (nulls[a])
                    return false;
                return number ? nums[a] < nums[b] : texts.at(a) < texts.at(b);
            };
            if (state == DataGrid::SortState::Ascending)
                std::stable_sort(order_.begin(), order_.end(), less);
            else
                std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return less(b, a); });
        }
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(order_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(columns_.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int field = columns_.at(index.column());
        const QVariant& v = value(index.row(), field);
        switch (role) {
        case Qt::DisplayRole:
            return displayText(field, v);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignment(field));
        case Qt::BackgroundRole:
            if (rowColor) {
                const QColor c = rowColor(index.row());
                if (c.isValid())
                    return c;
            }
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles_.size())
            return titles_.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    const QVariant& value(int row, int field) const { return rows_.at(order_.at(row)).at(field); }
    int sourceRow(int row) const { return order_.at(row); }
    int shownRow(int sourceRow) const
    {
        const auto it = std::find(order_.begin(), order_.end(), sourceRow);
        return it == order_.end() ? -1 : int(it - order_.begin());
    }
    const QStringList& fields() const { return fields_; }
    int fieldOfColumn(int column) const { return columns_.at(column); }
    int columnOfField(int field) const
    {
        const auto it = std::find(columns_.begin(), columns_.end(), field);
        return it == columns_.end() ? -1 : int(it - columns_.begin());
    }
    Qt::Alignment alignment(int field) const
    {
        return Qt::AlignVCenter | (numbers_.at(field) ? Qt::AlignRight : Qt::AlignLeft);
    }

    Money sum(int field) const
    {
        Money total;
        for (const QVariantList& r : rows_)
            total += Money::fromVariant(r.at(field));
        return total;
    }

    QString displayText(int field, const QVariant& v) const
    {
        if (v.isNull())
            return {};
        const int type = v.metaType().id();
        if (type == QMetaType::QDateTime || type == QMetaType::QDate)
            return dateText(v);
        if (v.metaType() == QMetaType::fromType<Money>())
            return v.value<Money>().toDisplayString();
        // Amounts keep four decimals at most; a double would show 0.30000000000000004.
        if (type == QMetaType::Double || type == QMetaType::Float) {
            const double d = v.toDouble();
            return std::fabs(d) < 9e13 ? Money::fromVariant(v).toDisplayString() : QString::number(d, 'g', 15);
        }
        if (numbers_.at(field) && type == QMetaType::QString) {
            Money m;
            if (Money::parse(v.toString(), &m))
                return m.toDisplayString();
        }
        return v.toString();
    }

    std::function<QColor(int)> rowColor;

private:
    QStringList fields_;
    std::vector<bool> numbers_;
    QList<QVariantList> rows_;
    std::vector<int> order_;
    std::vector<int> columns_;
    QStringList titles_;
};

// The sums row under the grid. It is painted in step with the grid's column
// sections so that each figure stays under its column while the operator
// resizes or scrolls.
class DataGridFooter : public QWidget {
public:
    DataGridFooter(QTableView* view, QWidget* parent)
        : QWidget(parent)
        , view_(view)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    void setCells(QMap<int, QString> texts, QMap<int, Qt::Alignment> alignments)
    {
        texts_ = std::move(texts);
        alignments_ = std::move(alignments);
        update();
    }

    QSize sizeHint() const override { return {0, fontMetrics().height() + 8}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().button());
        const QHeaderView* header = view_->horizontalHeader();
        const QWidget* viewport = view_->viewport();
        const int origin = viewport->mapTo(parentWidget(), QPoint()).x() - x();
        p.setClipRect(QRect(origin, 0, viewport->width(), height()));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, 0, width(), 0);
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QRect cell(origin + header->sectionViewportPosition(c), 0, header->sectionSize(c), height());
            p.setPen(palette().color(QPalette::Mid));
            p.drawLine(cell.topRight(), cell.bottomRight());
            const auto text = texts_.find(c);
            if (text == texts_.end())
                continue;
            p.setPen(palette().color(QPalette::ButtonText));
            p.drawText(cell.adjusted(4, 0, -4, 0), int(alignments_.value(c)), *text);
        }
    }

private:
    QTableView* view_;
    QMap<int, QString> texts_;
    QMap<int, Qt::Alignment> alignments_;
};

DataGrid::DataGrid(QWidget* parent)
    : QWidget(parent)
    , view_(new QTableView(this))
    , model_(new DataGridModel(this))
    , footer_(new DataGridFooter(view_, this))
{
    view_->setObjectName(QStringLiteral("grid"));
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setSectionsClickable(true);
    view_->horizontalHeader()->setHighlightSections(false);
    footer_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(footer_);

    QHeaderView* header = view_->horizontalHeader();
    connect(header, &QHeaderView::sectionClicked, this, &DataGrid::onSectionClicked);
    connect(header, &QHeaderView::sectionResized, footer_, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionMoved, footer_, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::geometriesChanged, footer_, qOverload<>(&QWidget::update));
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, footer_, qOverload<>(&QWidget::update));
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    connect(view_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row()); });
}

DataGrid::~DataGrid() = default;

void DataGrid::setColumns(const QStringList& fields)
{
    columns_ = fields;
    applyColumns();
}

void DataGrid::setTitle(const QString& field, const QString& title)
{
    titles_[key(field)] = title;
    applyColumns();
}

void DataGrid::setColumnHidden(const QString& field, bool hidden)
{
    hidden_[key(field)] = hidden;
    applyColumns();
}

void DataGrid::setFooterSum(const QString& field)
{
    footerCells_[key(field)] = FooterCell{true, {}};
    updateFooter();
}

void DataGrid::setFooterText(const QString& field, const QString& text)
{
    footerCells_[key(field)] = FooterCell{false, text};
    updateFooter();
}

void DataGrid::clearFooter()
{
    footerCells_.clear();
    updateFooter();
}

void DataGrid::setSortable(bool on)
{
    sortable_ = on;
    if (!on && sortState_ != SortState::None) {
        sortField_.clear();
        sortState_ = SortState::None;
        model_->sort(-1, SortState::None);
    }
    showSortMarker();
}

void DataGrid::setSortKey(const QString& field, const QString& keyField)
{
    sortKeys_[key(field)] = keyField;
}

void DataGrid::setRowColor(std::function<QColor(int row)> color)
{
    model_->rowColor = std::move(color);
    view_->viewport()->update();
}

void DataGrid::load(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    QStringList fields;
    QList<QMetaType> types;
    for (int i = 0; i < record.count(); ++i) {
        fields << record.fieldName(i);
        types << record.field(i).metaType();
    }
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList r;
        r.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            r << query.value(i);
        rows << std::move(r);
    }
    model_->setData(fields, types, std::move(rows));
    open_ = true;
    applyColumns();
}

void DataGrid::load(Db& db, const Query& query)
{
    load(db.select(query));
}

void DataGrid::load(const Rows& rows)
{
    model_->setData(rows.fields(), {}, rows.data());
    open_ = true;
    applyColumns();
}

void DataGrid::setRows(const QStringList& fields, const QList<QVariantList>& rows)
{
    model_->setData(fields, {}, rows);
    open_ = true;
    applyColumns();
}

void DataGrid::closeData()
{
    model_->setData({}, {}, {});
    open_ = false;
    applyColumns();
}

QStringList DataGrid::fields() const
{
    return model_->fields();
}

int DataGrid::rowCount() const
{
    return model_->rowCount();
}

int DataGrid::fieldIndex(const QString& field) const
{
    const QStringList& fields = model_->fields();
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant DataGrid::value(int row, const QString& field) const
{
    const int f = fieldIndex(field);
    if (f < 0 || row < 0 || row >= rowCount())
        return {};
    return model_->value(row, f);
}

QString DataGrid::text(int row, const QString& field) const
{
    const int f = fieldIndex(field);
    if (f < 0 || row < 0 || row >= rowCount())
        return {};
    return model_->displayText(f, model_->value(row, f));
}

QVariantMap DataGrid::rowValues(int row) const
{
    QVariantMap values;
    if (row < 0 || row >= rowCount())
        return values;
    const QStringList& fields = model_->fields();
    for (int f = 0; f < fields.size(); ++f)
        values.insert(fields.at(f), model_->value(row, f));
    return values;
}

int DataGrid::currentRow() const
{
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataGrid::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) {
        view_->setCurrentIndex({});
        return;
    }
    int column = 0;
    while (column < model_->columnCount() - 1 && view_->isColumnHidden(column))
        ++column;
    view_->setCurrentIndex(model_->index(row, column));
}

QVariantMap DataGrid::currentValues() const
{
    return rowValues(currentRow());
}

QString DataGrid::title(const QString& field) const
{
    const int f = fieldIndex(field);
    return titles_.value(key(field), f >= 0 ? model_->fields().at(f) : field);
}

bool DataGrid::isColumnShown(const QString& field) const
{
    const int f = fieldIndex(field);
    const int column = f < 0 ? -1 : model_->columnOfField(f);
    return column >= 0 && !view_->isColumnHidden(column);
}

QString DataGrid::footerText(const QString& field) const
{
    return footerShown_.value(key(field));
}

DataGrid::SortState DataGrid::sortState(const QString& field) const
{
    return key(field) == key(sortField_) ? sortState_ : SortState::None;
}

void DataGrid::applyColumns()
{
    const int current = currentRow();
    const QStringList& fields = model_->fields();
    std::vector<int> order;
    std::vector<bool> chosen(fields.size(), columns_.isEmpty());
    for (const QString& c : std::as_const(columns_)) {
        const int f = fieldIndex(c);
        if (f >= 0 && !chosen[f]) {
            order.push_back(f);
            chosen[f] = true;
        }
    }
    // Fields nobody asked to see still travel with the row, out of sight.
    for (int f = 0; f < fields.size(); ++f)
        if (columns_.isEmpty() || !chosen[f])
            order.push_back(f);
    QStringList titles;
    for (int f : order)
        titles << titles_.value(key(fields.at(f)), fields.at(f));

    if (!sortField_.isEmpty() && fieldIndex(sortField_) < 0) {
        sortField_.clear();
        sortState_ = SortState::None;
    }
    model_->setPresentation(order, titles);
    if (!sortField_.isEmpty())
        sortBy(fieldIndex(sortField_), sortState_);

    for (int c = 0; c < int(order.size()); ++c) {
        const int f = order.at(c);
        view_->setColumnHidden(c, !chosen[f] || hidden_.value(key(fields.at(f))));
    }
    view_->resizeColumnsToContents();
    showSortMarker();
    updateFooter();
    // A fresh load starts on its first row, as a reopened data set does.
    setCurrentRow(current >= 0 && current < rowCount() ? current : (rowCount() > 0 ? 0 : -1));
}

void DataGrid::updateFooter()
{
    footerShown_.clear();
    QMap<int, QString> texts;
    QMap<int, Qt::Alignment> alignments;
    for (auto it = footerCells_.cbegin(); it != footerCells_.cend(); ++it) {
        const int f = fieldIndex(it.key());
        QString text = it->text;
        if (it->sum)
            text = f >= 0 ? model_->sum(f).toDisplayString() : QString();
        footerShown_.insert(it.key(), text);
        const int column = f < 0 ? -1 : model_->columnOfField(f);
        if (column < 0)
            continue;
        texts.insert(column, text);
        alignments.insert(column, Qt::AlignVCenter | (it->sum ? Qt::AlignRight : Qt::AlignLeft));
    }
    footer_->setCells(texts, alignments);
    footer_->setVisible(!footerCells_.isEmpty());
}

void DataGrid::onSectionClicked(int column)
{
    if (column >= 0 && column < model_->columnCount())
        clickTitle(model_->fields().at(model_->fieldOfColumn(column)));
    // The header turns its own marker on a click; ours is the one that counts.
    showSortMarker();
}

void DataGrid::clickTitle(const QString& field)
{
    const int f = fieldIndex(field);
    if (!sortable_ || !open_ || f < 0 || field.contains(QLatin1Char(';')))
        return;
    SortState next = SortState::Ascending;
    if (key(field) == key(sortField_)) {
        if (sortState_ == SortState::Ascending)
            next = SortState::Descending;
        else if (sortState_ == SortState::Descending)
            next = SortState::None;
    }
    BusyCursor busy;
    sortField_ = next == SortState::None ? QString() : model_->fields().at(f);
    sortState_ = next;
    sortBy(f, next);
    showSortMarker();
}

void DataGrid::sortBy(int field, SortState state)
{
    if (field < 0)
        return;
    int keyField = fieldIndex(sortKeys_.value(key(model_->fields().at(field))));
    if (keyField < 0)
        keyField = field;
    // The operator stays on the same record, wherever the sort moves it.
    const int current = currentRow();
    const int source = current >= 0 ? model_->sourceRow(current) : -1;
    model_->sort(keyField, state);
    if (source >= 0)
        setCurrentRow(model_->shownRow(source));
}

void DataGrid::showSortMarker()
{
    QHeaderView* header = view_->horizontalHeader();
    const int f = sortField_.isEmpty() ? -1 : fieldIndex(sortField_);
    const int column = f < 0 ? -1 : model_->columnOfField(f);
    header->setSortIndicatorShown(sortable_);
    if (column < 0 || sortState_ == SortState::None)
        header->setSortIndicator(-1, Qt::AscendingOrder);
    else
        header->setSortIndicator(column, sortState_ == SortState::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace ts
