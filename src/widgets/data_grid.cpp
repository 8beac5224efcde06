#include "widgets/data_grid.h"

#include "storage/dates.h"
#include "storage/db.h"
#include "storage/money.h"

#include <QAbstractTableModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
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

// A statement split into what it selects and the order it asks for, so that
// the grid can count it, sum it and page through it in that order or in
// another one.
struct PagedQuery {
    QString body;        // without its trailing order by
    QStringList order;   // its own order terms, usable outside the statement
    Binds binds;

    static PagedQuery of(const Query& q)
    {
        PagedQuery p;
        p.binds = q.binds;
        p.body = whole(q.sql);
        static const QRegularExpression orderBy(QStringLiteral("\\sorder\\s+by\\s"),
                                                QRegularExpression::CaseInsensitiveOption);
        qsizetype at = -1;
        qsizetype after = -1;
        for (auto it = orderBy.globalMatch(p.body); it.hasNext();) {
            const auto m = it.next();
            at = m.capturedStart();
            after = m.capturedEnd();
        }
        if (at < 0)
            return p;
        const QString tail = p.body.mid(after);
        // Only an order by of the statement itself: not one inside a
        // sub-select, nor one followed by a limit.
        if (tail.contains(QLatin1Char(')')) || tail.contains(QRegularExpression(
                QStringLiteral("\\b(limit|offset)\\b"), QRegularExpression::CaseInsensitiveOption)))
            return p;
        p.body = p.body.left(at);
        for (QString term : tail.split(QLatin1Char(','))) {
            term = term.trimmed();
            // "k.id" names the same column as "id" once the statement is a sub-select.
            static const QRegularExpression qualifier(QStringLiteral("^[^\\s.\"]+\\."));
            term.remove(qualifier);
            if (!term.isEmpty())
                p.order << term;
        }
        return p;
    }

    // The statement without a closing semicolon, fit to be a sub-select.
    static QString whole(const QString& sql)
    {
        QString body = sql.trimmed();
        while (body.endsWith(QLatin1Char(';')))
            body = body.chopped(1).trimmed();
        return body;
    }

    QString from() const { return QStringLiteral(" from (") + body + QStringLiteral(") t"); }
};

QString quotedName(const QString& field)
{
    QString n = field;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// Rows in load order plus the order they are shown in. Rows given to the
// grid are all here and a sort only permutes the second, so "no sort" is
// the load order again. A statement given to the grid keeps only the pages
// read last; a sort runs it again in the new order.
class DataGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int kPageRows = 200;
    static constexpr int kPagesKept = 8;

    void setData(const QStringList& fields, const QList<QMetaType>& types, QList<QVariantList> rows)
    {
        beginResetModel();
        clearStatement();
        fields_ = fields;
        numbers_.clear();
        for (int c = 0; c < fields.size(); ++c)
            numbers_.push_back(isNumberColumn(c < types.size() ? types.at(c) : QMetaType(), rows, c));
        rows_ = std::move(rows);
        order_.resize(rows_.size());
        std::iota(order_.begin(), order_.end(), 0);
        endResetModel();
    }

    // Reads the count and the first page in the order that orderFor gives
    // for the statement's fields; whether a column holds numbers comes from
    // that page. Only a sort chosen earlier needs the fields before the
    // first page: then they are asked for on their own.
    void setStatement(Db& db, const Query& q, bool orderNeedsFields,
                      const std::function<QString(const QStringList&)>& orderFor)
    {
        beginResetModel();
        clearStatement();
        rows_.clear();
        order_.clear();
        try {
            statement_ = PagedQuery::of(q);
            fields_.clear();
            if (orderNeedsFields)
                fields_ = db.select(QStringLiteral("select t.*") + statement_.from() + QStringLiteral(" limit 0"),
                                    statement_.binds)
                              .fields();
            count_ = db.scalar(QStringLiteral("select count(*)") + statement_.from(), statement_.binds).toInt();
            db_ = &db;
            orderSql_ = orderFor(fields_);
            Rows first;
            try {
                first = db.select(pageSql(0), statement_.binds);
            } catch (const DbError&) {
                // An order by a column the statement does not select cannot
                // be said outside it: the statement keeps its own order then,
                // which both engines hand on through a plain sub-select.
                if (statement_.order.isEmpty())
                    throw;
                statement_ = PagedQuery{PagedQuery::whole(q.sql), {}, q.binds};
                orderSql_ = orderFor(fields_);
                first = db.select(pageSql(0), statement_.binds);
            }
            fields_ = first.fields();
            numbers_.assign(fields_.size(), false);
            for (int c = 0; c < fields_.size(); ++c)
                numbers_[c] = isNumberColumn(QMetaType(), first.data(), c);
            keep(0, first.data());
        } catch (...) {
            clearStatement();
            fields_.clear();
            numbers_.clear();
            endResetModel();
            throw;
        }
        endResetModel();
    }

    bool isStatement() const { return db_ != nullptr; }
    Db* db() const { return db_; }
    const PagedQuery& statement() const { return statement_; }

    // The order terms of a sort on `field` (empty: the statement's own).
    QStringList orderTerms(int field, DataGrid::SortState state) const
    {
        QStringList terms;
        if (state != DataGrid::SortState::None && field >= 0) {
            // Empty values first, as in the rows kept here; equal keys keep
            // the statement's order in both directions.
            terms << quotedName(fields_.at(field))
                         + (state == DataGrid::SortState::Ascending ? QStringLiteral(" asc nulls first")
                                                                    : QStringLiteral(" desc nulls last"));
        }
        terms << statement_.order;
        return terms;
    }

    void sort(int field, DataGrid::SortState state)
    {
        beginResetModel();
        if (isStatement()) {
            orderSql_ = orderClause(orderTerms(field, state));
            pages_.clear();
            used_.clear();
            endResetModel();
            return;
        }
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

    const QString& orderSql() const { return orderSql_; }

    // Whether the rows are in the order of one field alone, going up.
    bool orderedBy(int field) const
    {
        return orderSql_.trimmed().compare(QStringLiteral("order by ") + fields_.at(field), Qt::CaseInsensitive) == 0;
    }

    // Reads the page that holds `row`, known to be the record whose `field`
    // holds `key` while the rows are ordered by that field, from either
    // side of the key: an index finds those rows, where an offset would
    // step over every row before them. A record near the edge of its page
    // shows rows of the neighbouring page on the same screen: that page is
    // read along with it.
    void readPageAround(int row, int field, const QVariant& key)
    {
        constexpr int kScreenRows = 60;
        const int page = row / kPageRows;
        if (!orderedBy(field) || pages_.count(page))
            return;
        const int before = row % kPageRows;
        const bool previous = page > 0 && before < kScreenRows;
        const bool next = kPageRows - before < kScreenRows && (page + 1) * kPageRows < count_;
        const QString column = QStringLiteral("t.") + quotedName(fields_.at(field));
        Binds binds = statement_.binds;
        binds.insert(QStringLiteral("gridkey"), key);
        auto read = [&](const char* op, const char* direction, int limit) {
            return db_->select(QStringLiteral("select t.*") + statement_.from() + QStringLiteral(" where ") + column
                                   + QLatin1String(op) + QStringLiteral(":gridkey order by ") + column
                                   + QLatin1String(direction) + QStringLiteral(" limit %1").arg(limit),
                               binds)
                .data();
        };
        // Going back from the key, nearest first.
        const QList<QVariantList> earlier = before > 0 || previous ? read("<", " desc", before + (previous ? kPageRows : 0))
                                                                    : QList<QVariantList>();
        const QList<QVariantList> later = read(">=", "", kPageRows - before + (next ? kPageRows : 0));
        QList<QVariantList> rows;
        for (qsizetype i = std::min<qsizetype>(before, earlier.size()) - 1; i >= 0; --i)
            rows << earlier.at(i);
        rows << later.mid(0, kPageRows - before);
        keep(page, std::move(rows));
        if (previous && !pages_.count(page - 1) && earlier.size() == before + kPageRows) {
            QList<QVariantList> back;
            for (qsizetype i = earlier.size() - 1; i >= before; --i)
                back << earlier.at(i);
            keep(page - 1, std::move(back));
        }
        if (next && !pages_.count(page + 1) && later.size() > kPageRows - before)
            keep(page + 1, later.mid(kPageRows - before));
    }

    static QString orderClause(const QStringList& terms)
    {
        return terms.isEmpty() ? QString() : QStringLiteral(" order by ") + terms.join(QLatin1Char(','));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        if (parent.isValid())
            return 0;
        return isStatement() ? count_ : int(order_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(columns_.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int field = columns_.at(index.column());
        switch (role) {
        case Qt::DisplayRole:
            return displayText(field, value(index.row(), field));
        case Qt::ToolTipRole: {
            // A long text is cut short in its cell; the tip shows all of it.
            const QString text = displayText(field, value(index.row(), field));
            return text.size() > 8 ? QVariant(text) : QVariant();
        }
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

    QVariant value(int row, int field) const
    {
        if (!isStatement())
            return rows_.at(order_.at(row)).at(field);
        const QList<QVariantList>& page = pageOf(row);
        const int at = row % kPageRows;
        return at < page.size() ? page.at(at).at(field) : QVariant();
    }
    QVariantList rowAt(int row) const
    {
        if (!isStatement())
            return rows_.at(order_.at(row));
        const QList<QVariantList>& page = pageOf(row);
        const int at = row % kPageRows;
        return at < page.size() ? page.at(at) : QVariantList();
    }
    // The rows as shown, as far as they are at hand without reading more.
    QList<QVariantList> sample(int rows) const
    {
        QList<QVariantList> out;
        if (!isStatement()) {
            for (int r = 0; r < std::min(rows, int(order_.size())); ++r)
                out << rows_.at(order_.at(r));
        } else if (count_ > 0) {
            out = pageOf(0).mid(0, rows);
        }
        return out;
    }
    int sourceRow(int row) const { return isStatement() ? row : order_.at(row); }
    int shownRow(int sourceRow) const
    {
        if (isStatement())
            return sourceRow;
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

    // The sums of several fields of the statement, by one aggregate. SQLite
    // adds money as doubles, so there the sum is taken in whole
    // ten-thousandths; PostgreSQL's numeric is exact as it is.
    QList<Money> sums(const QList<int>& fields) const
    {
        QList<Money> out;
        if (fields.isEmpty())
            return out;
        const bool pg = db_->engine() == Engine::Postgres;
        QStringList exprs;
        for (int f : fields) {
            const QString c = QStringLiteral("t.") + quotedName(fields_.at(f));
            exprs << (pg ? QStringLiteral("sum(cast(nullif(trim(cast(%1 as text)),'') as numeric))").arg(c)
                         : QStringLiteral("sum(cast(round(%1*10000) as integer))").arg(c));
        }
        const Rows r = db_->select(QStringLiteral("select ") + exprs.join(QLatin1Char(',')) + statement_.from(),
                                   statement_.binds);
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant v = r.isEmpty() ? QVariant() : r.value(0, i);
            out << (pg ? Money::fromVariant(v) : Money::fromUnits(v.toLongLong()));
        }
        return out;
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

    void setPresentation(std::vector<int> columnFields, QStringList titles)
    {
        beginResetModel();
        columns_ = std::move(columnFields);
        titles_ = std::move(titles);
        endResetModel();
    }

    void setTitle(int column, const QString& title)
    {
        if (column < 0 || column >= titles_.size())
            return;
        titles_[column] = title;
        emit headerDataChanged(Qt::Horizontal, column, column);
    }

    std::function<QColor(int)> rowColor;

private:
    void clearStatement()
    {
        db_ = nullptr;
        statement_ = {};
        orderSql_.clear();
        pages_.clear();
        used_.clear();
        count_ = 0;
    }

    QString pageSql(int page) const
    {
        return QStringLiteral("select t.*") + statement_.from() + orderSql_
               + QStringLiteral(" limit %1 offset %2").arg(kPageRows).arg(qint64(page) * kPageRows);
    }

    const QList<QVariantList>& pageOf(int row) const
    {
        const int page = row / kPageRows;
        const auto it = pages_.find(page);
        if (it != pages_.end()) {
            used_.erase(std::find(used_.begin(), used_.end(), page));
            used_.push_back(page);
            return it->second;
        }
        return keep(page, db_->select(pageSql(page), statement_.binds).data());
    }

    const QList<QVariantList>& keep(int page, QList<QVariantList> rows) const
    {
        while (int(used_.size()) >= kPagesKept) {
            pages_.erase(used_.front());
            used_.erase(used_.begin());
        }
        used_.push_back(page);
        return pages_[page] = std::move(rows);
    }

    QStringList fields_;
    std::vector<bool> numbers_;
    QList<QVariantList> rows_;
    std::vector<int> order_;
    std::vector<int> columns_;
    QStringList titles_;

    Db* db_ = nullptr;
    PagedQuery statement_;
    QString orderSql_;
    int count_ = 0;
    mutable std::map<int, QList<QVariantList>> pages_;
    mutable std::vector<int> used_;  // pages, least recently read first
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
    // A width the operator drags stays for this field across loads.
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (measuring_ || column < 0 || column >= model_->columnCount() || size <= 0)
            return;
        widths_[key(model_->fields().at(model_->fieldOfColumn(column)))] = size;
    });
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
    const int f = fieldIndex(field);
    model_->setTitle(f < 0 ? -1 : model_->columnOfField(f), title);
}

void DataGrid::setColumnHidden(const QString& field, bool hidden)
{
    hidden_[key(field)] = hidden;
    // Only this column changes: the others keep their place and width.
    const int f = fieldIndex(field);
    const int column = f < 0 ? -1 : model_->columnOfField(f);
    if (column < 0)
        return;
    const bool chosen = columns_.isEmpty()
                        || std::any_of(columns_.cbegin(), columns_.cend(), [&](const QString& c) { return key(c) == key(field); });
    view_->setColumnHidden(column, hidden || !chosen);
    footer_->update();
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
    const QScopedValueRollback<bool> measuring(measuring_, true);
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
    sumCache_.clear();
    model_->setData(fields, types, std::move(rows));
    open_ = true;
    applyColumns();
}

void DataGrid::load(Db& db, const Query& query)
{
    const QScopedValueRollback<bool> measuring(measuring_, true);
    BusyCursor busy;
    sumCache_.clear();
    model_->setStatement(db, query, !sortField_.isEmpty(), [this](const QStringList& fields) {
        // A sort chosen on an earlier load applies from the first page on.
        int f = -1;
        for (int i = 0; i < fields.size() && !sortField_.isEmpty(); ++i)
            if (key(fields.at(i)) == key(sortField_))
                f = i;
        if (f < 0)
            return DataGridModel::orderClause(model_->statement().order);
        int keyField = f;
        const QString sortKey = sortKeys_.value(key(fields.at(f)));
        for (int i = 0; i < fields.size() && !sortKey.isEmpty(); ++i)
            if (key(fields.at(i)) == key(sortKey))
                keyField = i;
        return DataGridModel::orderClause(model_->orderTerms(keyField, sortState_));
    });
    open_ = true;
    applyColumns();
}

void DataGrid::load(const Rows& rows)
{
    const QScopedValueRollback<bool> measuring(measuring_, true);
    sumCache_.clear();
    model_->setData(rows.fields(), {}, rows.data());
    open_ = true;
    applyColumns();
}

void DataGrid::setRows(const QStringList& fields, const QList<QVariantList>& rows)
{
    const QScopedValueRollback<bool> measuring(measuring_, true);
    sumCache_.clear();
    model_->setData(fields, {}, rows);
    open_ = true;
    applyColumns();
}

void DataGrid::closeData()
{
    const QScopedValueRollback<bool> measuring(measuring_, true);
    sumCache_.clear();
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
    const QVariantList r = model_->rowAt(row);
    for (int f = 0; f < fields.size() && f < r.size(); ++f)
        values.insert(fields.at(f), r.at(f));
    return values;
}

int DataGrid::findRow(const QString& field, const QVariant& value) const
{
    const int f = fieldIndex(field);
    if (f < 0 || rowCount() == 0)
        return -1;
    if (!model_->isStatement()) {
        for (int r = 0; r < rowCount(); ++r)
            if (model_->value(r, f) == value)
                return r;
        return -1;
    }
    Db& db = *model_->db();
    const PagedQuery& q = model_->statement();
    Binds binds = q.binds;
    binds.insert(QStringLiteral("gridkey"), value);
    const QString column = QStringLiteral("t.") + quotedName(model_->fields().at(f));
    const QString order = model_->orderSql();
    // In the list's own order by its key, the rows before a record are the
    // ones with a smaller key: an index answers that without sorting.
    if (model_->orderedBy(f)) {
        if (db.scalar(QStringLiteral("select count(*)") + q.from() + QStringLiteral(" where ") + column
                          + QStringLiteral("=:gridkey"),
                      binds)
                .toInt()
            == 0)
            return -1;
        const int row = db.scalar(QStringLiteral("select count(*)") + q.from() + QStringLiteral(" where ") + column
                                      + QStringLiteral("<:gridkey"),
                                  binds)
                            .toInt();
        // The caller goes to the record next: its page is read from the key.
        model_->readPageAround(row, f, value);
        return row;
    }
    const QVariant rn = db.scalar(QStringLiteral("select min(rn) from (select row_number() over (%1) as rn, %2 as k")
                                          .arg(order.trimmed(), column)
                                      + q.from() + QStringLiteral(") x where k=:gridkey"),
                                  binds);
    return rn.isNull() ? -1 : rn.toInt() - 1;
}

Rows DataGrid::allRows() const
{
    if (model_->isStatement())
        return model_->db()->select(QStringLiteral("select t.*") + model_->statement().from() + model_->orderSql(),
                                    model_->statement().binds);
    QList<QVariantList> rows;
    rows.reserve(rowCount());
    for (int r = 0; r < rowCount(); ++r)
        rows << model_->rowAt(r);
    return Rows(model_->fields(), std::move(rows));
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
    // Sections the model resets are no widths the operator chose.
    const QScopedValueRollback<bool> measuring(measuring_, true);
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
    // A statement was read in the chosen order already.
    if (!sortField_.isEmpty() && !model_->isStatement())
        sortBy(fieldIndex(sortField_), sortState_);

    for (int c = 0; c < int(order.size()); ++c) {
        const int f = order.at(c);
        view_->setColumnHidden(c, !chosen[f] || hidden_.value(key(fields.at(f))));
    }
    measureColumns();
    showSortMarker();
    updateFooter();
    // A fresh load starts on its first row, as a reopened data set does.
    setCurrentRow(current >= 0 && current < rowCount() ? current : (rowCount() > 0 ? 0 : -1));
}

void DataGrid::measureColumns()
{
    // Widths come from the titles and the first rows, once per field: a
    // list reopened or searched again keeps them, and the operator's own
    // resizing is not undone. Long texts are cut short at the cap and shown
    // whole in their tooltips.
    const QFontMetrics fm = view_->fontMetrics();
    const QFontMetrics titleFm = view_->horizontalHeader()->fontMetrics();
    const int cap = fm.horizontalAdvance(QLatin1Char('M')) * 24;
    const QList<QVariantList> sample = model_->sample(40);
    QHeaderView* header = view_->horizontalHeader();
    const QScopedValueRollback<bool> measuring(measuring_, true);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int f = model_->fieldOfColumn(c);
        const QString k = key(model_->fields().at(f));
        auto it = widths_.find(k);
        if (it == widths_.end()) {
            int w = titleFm.horizontalAdvance(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 24;
            for (const QVariantList& r : sample)
                w = std::max(w, std::min(cap, fm.horizontalAdvance(model_->displayText(f, r.at(f))) + 12));
            it = widths_.insert(k, w);
        }
        if (header->sectionSize(c) != *it)
            header->resizeSection(c, *it);
    }
}

void DataGrid::updateFooter()
{
    footerShown_.clear();
    if (model_->isStatement()) {
        // One aggregate statement for every sum not read yet.
        QList<int> missing;
        for (auto it = footerCells_.cbegin(); it != footerCells_.cend(); ++it) {
            const int f = fieldIndex(it.key());
            if (it->sum && f >= 0 && !sumCache_.contains(it.key()))
                missing << f;
        }
        const QList<Money> sums = model_->sums(missing);
        for (int i = 0; i < missing.size(); ++i)
            sumCache_.insert(key(model_->fields().at(missing.at(i))), sums.at(i));
    }
    QMap<int, QString> texts;
    QMap<int, Qt::Alignment> alignments;
    for (auto it = footerCells_.cbegin(); it != footerCells_.cend(); ++it) {
        const int f = fieldIndex(it.key());
        QString text = it->text;
        if (it->sum && f < 0)
            text.clear();
        else if (it->sum)
            text = (model_->isStatement() ? sumCache_.value(it.key()) : model_->sum(f)).toDisplayString();
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
    if (model_->isStatement()) {
        // Read from the engine, the record is found again by its number.
        const QString idField = QStringLiteral("id");
        const QVariant id = current >= 0 && fieldIndex(idField) >= 0 ? value(current, idField) : QVariant();
        model_->sort(keyField, state);
        setCurrentRow(id.isNull() ? (rowCount() > 0 ? 0 : -1) : std::max(0, findRow(idField, id)));
        return;
    }
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
