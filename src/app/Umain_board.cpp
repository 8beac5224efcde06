#include "app/Umain_board.h"

#include "app/app_context.h"
#include "customers/customer_list.h"
#include "orders/order_events.h"
#include "printing/Uprint_output.h"
#include "printing/board_prints.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace ts {

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QColor colourFor(LineColour c)
{
    switch (c) {
    case LineColour::NotDeliveredNotPaid: return QColor(166, 202, 240);
    case LineColour::NotDeliveredPaid: return QColor(192, 220, 192);
    case LineColour::DeliveredNotPaid: return QColor(255, 149, 149);
    case LineColour::DeliveredPaid: return QColor(255, 255, 170);
    case LineColour::PrepaidSlipMissing: return QColor(0, 255, 255);
    }
    return {};
}

struct PopupEntry {
    const char* caption;
    int group;  // the rights of the toolbar namesake; 0 for none
    int position;
};

// The pop-up menu of the board; 录音重放 joins it with the call log.
const PopupEntry kPopup[] = {
    {"发货", 2, 3},     {"收款", 2, 4},     {"收票", 2, 5},         {"签单", 2, 6},     {"删除订货单", 2, 7},
    {"退货", 2, 8},     {"退款", 2, 9},     {"预付款回单登记", 0, 0}, {"客户追踪", 2, 10}, {"水票销售", 0, 0},
    {"水票回收", 0, 0}, {"空桶出租", 0, 0}, {"空桶回收", 0, 0},
};

// The figures whose "..." opens the matching list, filtered to today; those
// lists come with their own parts of the program.
const char* const kFigures[] = {"今日订水", "今日送水", "送水收款", "送水收票", "送水签单",
                                "未送桶数", "免费桶数", "今日租桶", "租桶回收", "今日借桶",
                                "借桶归还", "水票销售", "水票回收", "今日还票", "今日还款"};
const char* const kFiguresWithList[] = {"今日租桶", "租桶回收", "今日借桶", "借桶归还",
                                        "水票销售", "水票回收", "今日还票", "今日还款"};

} // namespace

MainBoard::MainBoard(LoginValues& login, LineForms forms, QWidget* parent)
    : QWidget(parent)
    , login_(login)
    , forms_(std::move(forms))
{
    setObjectName(QStringLiteral("board"));

    grid_ = new DataGrid(this);
    grid_->setObjectName(QStringLiteral("订单"));
    grid_->setColumns(OrderBoard::columns());
    for (const QString& c : OrderBoard::columns())
        grid_->setTitle(c, OrderBoard::title(c));
    for (const QString& c : OrderBoard::summedColumns())
        grid_->setFooterSum(c);
    grid_->setFooterText(QStringLiteral("单据编号"), str("合计："));
    grid_->setSortable(true);
    grid_->setRowColor([this](int row) -> QColor {
        if (!colour_)
            return {};
        const QVariantMap r = grid_->rowValues(row);
        return colourFor(OrderBoard::colourOf(r.value(str("交款完毕")).toBool(), r.value(str("发货完毕")).toBool(),
                                              r.value(str("收款方式")).toString(), r.value(str("回单登记")).toString()));
    });
    // The selected line keeps black text, coloured or not.
    QPalette selected = grid_->view()->palette();
    selected.setColor(QPalette::HighlightedText, Qt::black);
    grid_->view()->setPalette(selected);
    connect(grid_, &DataGrid::rowDoubleClicked, this, [this](int) {
        if (grid_->rowCount() == 0)
            return;
        openLine(str("Tfdingdan_xiugai"), selectedLine(), str("双击"));
    });

    popup_ = new QMenu(this);
    for (const PopupEntry& e : kPopup) {
        const QString caption = str(e.caption);
        QAction* a = popup_->addAction(caption);
        a->setObjectName(QStringLiteral("popup/") + caption);
        a->setProperty("rightGroup", e.group);
        a->setProperty("rightPosition", e.position);
        connect(a, &QAction::triggered, this, [this, caption] { operate(caption); });
        popupEntries_ << a;
    }
    grid_->view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_->view(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->view()->viewport()->mapToGlobal(at)); });

    auto* middle = new QHBoxLayout;
    middle->addWidget(grid_, 1);
    // The figures and the print buttons scroll rather than push the window
    // past the screen when the filter panel is open.
    auto* sideBox = new QWidget;
    auto* side = new QVBoxLayout(sideBox);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(buildFigures(), 1);
    side->addWidget(buildPrinting());
    auto* sideScroll = new QScrollArea(this);
    sideScroll->setWidget(sideBox);
    sideScroll->setWidgetResizable(true);
    sideScroll->setFrameShape(QFrame::NoFrame);
    sideScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sideScroll->setMinimumWidth(sideBox->sizeHint().width() + sideScroll->verticalScrollBar()->sizeHint().width());
    middle->addWidget(sideScroll);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildQuickStrip());
    layout->addWidget(buildPanel());
    layout->addLayout(middle, 1);
    layout->addWidget(buildLegend());

    // Every window that commits orders says so here.
    connect(&OrderEvents::instance(), &OrderEvents::ordersChanged, this, [this] { runAction(this, [this] { refresh(); }); });

    if (login_.specialRequirement == QStringLiteral("vidi")) {
        for (const QString& c : OrderBoard::vidiHiddenColumns())
            grid_->setColumnHidden(c, true);
    }
    const int style = singleStyle_->findText(login_.singlePrintLayout);
    singleStyle_->setCurrentIndex(style < 0 ? 0 : style);
    updateEntries();
}

QWidget* MainBoard::buildQuickStrip()
{
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(str("快速手工开单"), strip));
    quickPhone_ = makeLineEdit(str("快速手工开单"), strip);
    fitWidthTo(quickPhone_, QStringLiteral("013912345678"));
    row->addWidget(quickPhone_);
    // The call window arrives with the caller-ID part of the program.
    quickOrder_ = makeButton(str("快速开单"), {}, strip);
    quickOrder_->setEnabled(false);
    row->addWidget(quickOrder_);
    auto* callBack = makeButton(str("回拨"), [this] {
        Messages::instance().information(this, str("只有Q型录音设备才支持此功能"));
    }, strip);
    row->addWidget(callBack);
    row->addWidget(makeButton(str("历史来电记录"), {}, strip));
    showPanel_ = makeButton(str("显示查询条件"), [this] { showPanel(panel_->isHidden()); }, strip);
    row->addWidget(showPanel_);
    play_ = makeButton(str("录音重放"), [this] { playRecording(); }, strip);
    stopPlaying_ = makeButton(str("停止播放录音"), [this] {
        if (stopPlayer_)
            stopPlayer_();
    }, strip);
    play_->setEnabled(false);
    stopPlaying_->setEnabled(false);
    row->addWidget(play_);
    row->addWidget(stopPlaying_);
    row->addStretch();
    return strip;
}

QWidget* MainBoard::buildPanel()
{
    panel_ = new QGroupBox(str("查询条件"), this);
    panel_->setObjectName(str("查询条件"));
    auto* grid = new QGridLayout(panel_);

    auto* regions = new QGroupBox(str("区域信息"), panel_);
    auto* rl = new QGridLayout(regions);
    allRegions_ = new QRadioButton(str("所有区域"), regions);
    allRegions_->setObjectName(str("所有区域"));
    oneRegion_ = new QRadioButton(str("指定区域，一级区域"), regions);
    oneRegion_->setObjectName(str("指定区域"));
    allRegions_->setChecked(true);
    region_ = makeComboBox(str("一级区域"), regions);
    subRegion_ = makeComboBox(str("二级区域"), regions);
    subRegion_->setEnabled(false);
    rl->addWidget(allRegions_, 0, 0);
    rl->addWidget(oneRegion_, 1, 0);
    rl->addWidget(region_, 1, 1);
    rl->addWidget(new QLabel(str("二级区域"), regions), 2, 0);
    rl->addWidget(subRegion_, 2, 1);
    connect(region_, &QComboBox::activated, this, [this] {
        oneRegion_->setChecked(true);
        runAction(this, [this] { fillSubRegions(); });
    });
    connect(allRegions_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        subRegion_->clear();
        subRegion_->setEnabled(false);
    });

    auto* workers = new QGroupBox(str("配送工信息"), panel_);
    auto* wl = new QGridLayout(workers);
    byWorker_ = makeCheckBox(str("配送工"), workers);
    worker_ = makeComboBox(str("配送工姓名"), workers);
    connect(byWorker_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            runAction(this, [this] {
                setChoices(worker_, appDb().select(QStringLiteral("select 姓名 from 员工列表")).texts(0), worker_->currentText());
            });
        }
    });
    wl->addWidget(byWorker_, 0, 0);
    wl->addWidget(worker_, 0, 1);
    wl->addWidget(makeButton(str("查询未发货"), [this] {
        runAction(this, [this] {
            BoardFilter f = refreshFilter();
            f.undeliveredOnly = true;
            allRegions_->setChecked(true);
            load(f);
        });
    }, workers), 1, 0);
    wl->addWidget(makeButton(str("查询未收款"), [this] {
        runAction(this, [this] {
            BoardFilter f = refreshFilter();
            f.unpaidOnly = true;
            load(f);
        });
    }, workers), 1, 1);
    wl->addWidget(makeButton(str("成批发货"), [this] { batchDeliver(); }, workers), 2, 0);
    // The batch receipt comes with the receipts.
    auto* batchReceipt = makeButton(str("成批收款"), {}, workers);
    batchReceipt->setEnabled(false);
    wl->addWidget(batchReceipt, 2, 1);

    auto* order = new QGroupBox(str("排列顺序"), panel_);
    auto* ol = new QVBoxLayout(order);
    byTime_ = new QRadioButton(str("时间"), order);
    byTime_->setObjectName(str("按时间排列"));
    byRegion_ = new QRadioButton(str("区域"), order);
    byRegion_->setObjectName(str("按区域排列"));
    byTime_->setChecked(true);
    ol->addWidget(byTime_);
    ol->addWidget(byRegion_);

    auto* stateBox = new QGroupBox(str("物流状态"), panel_);
    auto* sl = new QVBoxLayout(stateBox);
    states_ = new QButtonGroup(this);
    const char* const states[] = {"全部", "未发货并且未交款", "未发货已收款", "已发货未收款", "已发货已收款"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QRadioButton(str(states[i]), stateBox);
        b->setObjectName(str(states[i]));
        states_->addButton(b, i);
        sl->addWidget(b);
    }
    states_->button(0)->setChecked(true);

    auto* period = new QGroupBox(str("时间设置"), panel_);
    auto* pl = new QGridLayout(period);
    today_ = new QRadioButton(str("今日业务"), period);
    today_->setObjectName(str("今日业务"));
    period_ = new QRadioButton(str("任意时间段业务从"), period);
    period_->setObjectName(str("任意时间段业务从"));
    today_->setChecked(true);
    from_ = makeDateEdit(QStringLiteral("dp1"), period);
    to_ = makeDateEdit(QStringLiteral("dp2"), period);
    from_->setEnabled(false);
    to_->setEnabled(false);
    connect(period_, &QRadioButton::toggled, this, [this](bool on) {
        from_->setEnabled(on);
        to_->setEnabled(on);
    });
    pl->addWidget(today_, 0, 0, 1, 2);
    pl->addWidget(period_, 1, 0, 1, 2);
    pl->addWidget(from_, 2, 0);
    pl->addWidget(new QLabel(str("到"), period), 2, 1);
    pl->addWidget(to_, 3, 0);

    grid->addWidget(regions, 0, 0);
    grid->addWidget(workers, 0, 1);
    grid->addWidget(order, 0, 2);
    grid->addWidget(stateBox, 0, 3);
    grid->addWidget(period, 0, 4);
    grid->addWidget(makeButton(str("查询"), [this] { runAction(this, [this] { search(); }); }, panel_), 0, 5, Qt::AlignBottom);
    panel_->hide();
    return panel_;
}

QWidget* MainBoard::buildPrinting()
{
    auto* box = new QGroupBox(str("打印与导出"), this);
    auto* grid = new QGridLayout(box);
    batchStyle_ = makeComboBox(str("样式"), box);
    batchStyle_->addItems({QStringLiteral("A4"), str("POS58打印")});
    grid->addWidget(batchStyle_, 0, 0);
    grid->addWidget(makeButton(str("成批打印"), [this] { printBoard(); }, box), 0, 1);
    singleStyle_ = makeComboBox(str("单张打印样式"), box);
    singleStyle_->addItems({QStringLiteral("POS76"), QStringLiteral("word2003"), str("自定义报表")});
    grid->addWidget(singleStyle_, 1, 0);
    grid->addWidget(makeButton(str("单张打印"), [this] { printDocument(); }, box), 1, 1);
    grid->addWidget(makeButton(str("导出到EXCEL"), [this] { exportBoard(); }, box), 2, 0, 1, 2);
    return box;
}

QWidget* MainBoard::buildFigures()
{
    auto* box = new QGroupBox(str("今日统计"), this);
    box->setObjectName(str("今日统计"));
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    int row = 0;
    for (const char* f : kFigures) {
        const QString caption = str(f);
        grid->addWidget(new QLabel(caption + str("："), box), row, 0);
        auto* value = new QLabel(box);
        value->setObjectName(caption);
        value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("123456.78  元")));
        grid->addWidget(value, row, 1);
        figures_.insert(caption, value);
        if (std::find_if(std::begin(kFiguresWithList), std::end(kFiguresWithList),
                         [&](const char* w) { return caption == str(w); })
            != std::end(kFiguresWithList)) {
            auto* more = makeButton(QStringLiteral("..."), {}, box);
            more->setObjectName(caption + QStringLiteral("..."));
            more->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
            // Its list is filtered to today once that list is part of the program.
            more->setEnabled(false);
            grid->addWidget(more, row, 2);
        }
        ++row;
    }
    QLabel* ordered = figures_.value(str("今日订水"));
    ordered->setToolTip(str("此数量不包含明日预约数量"));
    // A click on the figure says what it leaves out.
    ordered->setCursor(Qt::PointingHandCursor);
    ordered->installEventFilter(this);
    grid->setRowStretch(row, 1);
    return box;
}

QWidget* MainBoard::buildLegend()
{
    auto* legend = new QWidget(this);
    auto* row = new QHBoxLayout(legend);
    row->setContentsMargins(0, 0, 0, 0);
    colourBox_ = makeCheckBox(str("需要颜色显示"), legend);
    row->addWidget(colourBox_);
    for (LineColour c : {LineColour::NotDeliveredNotPaid, LineColour::NotDeliveredPaid, LineColour::DeliveredNotPaid,
                         LineColour::DeliveredPaid, LineColour::PrepaidSlipMissing}) {
        row->addWidget(new QLabel(OrderBoard::legend(c), legend));
        auto* swatch = new QLabel(legend);
        swatch->setFixedSize(24, 14);
        swatch->setAutoFillBackground(true);
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, colourFor(c));
        swatch->setPalette(p);
        row->addWidget(swatch);
    }
    row->addStretch();
    connect(colourBox_, &QCheckBox::clicked, this, [this](bool on) { setColourShown(on); });
    return legend;
}

QString MainBoard::figure(const QString& caption) const
{
    const QLabel* l = figures_.value(caption);
    return l ? l->text() : QString();
}

bool MainBoard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == figures_.value(str("今日订水")) && event->type() == QEvent::MouseButtonRelease) {
        Messages::instance().information(this, str("此数量不包含预约明日送水桶数！！"));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainBoard::showPanel(bool shown)
{
    panel_->setVisible(shown);
    showPanel_->setText(shown ? str("隐藏查询条件") : str("显示查询条件"));
    if (shown && region_->count() == 0)
        runAction(this, [this] { setChoices(region_, CustomerList(appDb()).regions(), QString()); });
}

void MainBoard::fillSubRegions()
{
    subRegion_->setEnabled(true);
    setChoices(subRegion_, QStringList{QString()} + CustomerList(appDb()).subAreas(region_->currentText()), QString());
}

BoardFilter MainBoard::refreshFilter() const
{
    BoardFilter f;
    f.byWorker = byWorker_->isChecked();
    f.worker = worker_->currentText();
    f.order = byTime_->isChecked() ? BoardFilter::Order::ByTime : BoardFilter::Order::ByRegion;
    return f;
}

BoardFilter MainBoard::panelFilter() const
{
    BoardFilter f = refreshFilter();
    if (period_->isChecked()) {
        f.period = BoardFilter::Period::Between;
        f.from = from_->date();
        f.to = to_->date();
    }
    if (oneRegion_->isChecked()) {
        f.region = region_->currentText();
        f.subRegion = subRegion_->currentText();
    }
    f.state = BoardFilter::State(states_->checkedId());
    return f;
}

void MainBoard::load(const BoardFilter& filter)
{
    grid_->load(appDb(), OrderBoard(appDb()).query(filter, clock::today()));
    if (grid_->rowCount() > 0)
        grid_->setCurrentRow(grid_->rowCount() - 1);
}

void MainBoard::refresh()
{
    colour_ = OrderBoard(appDb()).colourShown();
    colourBox_->setChecked(colour_);
    if (!period_->isChecked()) {
        from_->setDate(clock::today());
        to_->setDate(clock::today());
    }
    load(refreshFilter());
    showFigures();
}

void MainBoard::search()
{
    load(panelFilter());
}

void MainBoard::showFigures()
{
    for (const DayFigure& f : OrderBoard(appDb()).figures(clock::today())) {
        QString caption = f.caption;
        caption.chop(1);
        if (QLabel* l = figures_.value(caption))
            l->setText(f.value);
    }
}

void MainBoard::setColourShown(bool on)
{
    runAction(this, [this, on] {
        OrderBoard(appDb()).setColourShown(on);
        colour_ = on;
        search();
    });
}

void MainBoard::batchDeliver()
{
    runAction(this, [this] {
        BoardFilter f = refreshFilter();
        f.undeliveredOnly = true;
        allRegions_->setChecked(true);
        load(f);
        // The lines the operator sees now are the ones marked, not lines
        // that arrive while he looks.
        QList<qint64> ids;
        const Rows shown = grid_->allRows();
        for (int i = 0; i < shown.size(); ++i)
            ids << shown.value(i, QStringLiteral("id")).toLongLong();
        // The list goes with the worker; the board does not wait for it.
        printing::showPreview(window(), printing::batchDeliveryList(shown, clock::today(), worker_->currentText()),
                              printing::PreviewWait::No);
        OrderBoard(appDb()).deliverAll(ids);
        refresh();
    });
}

void MainBoard::printBoard()
{
    runAction(this, [this] {
        const Rows shown = grid_->allRows();
        const printing::Printout p = batchStyle_->currentText() == QStringLiteral("A4")
                                         ? printing::a4List(shown, clock::today())
                                         : printing::pos58Notes(shown);
        printing::showPreview(window(), p, printing::PreviewWait::UntilClosed);
    });
}

void MainBoard::printDocument()
{
    runAction(window(), [this]() -> Outcome {
        const QString doc = selectedDocument();
        if (doc.isEmpty())
            return Outcome::refused(str("请先选择订水单据！！"));
        printing::printSingleOrder(window(), appDb(), doc, singleStyle_->currentText());
        return Outcome::done();
    });
}

void MainBoard::exportBoard()
{
    const QString path = QFileDialog::getSaveFileName(window(), str("导出到EXCEL"),
                                                      QDir::home().filePath(str("销售记录.xlsx")),
                                                      str("Excel文件 (*.xlsx)"));
    if (path.isEmpty())
        return;
    QProgressDialog progress(str("正在导出销售记录……"), str("取消"), 0, 0, window());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const Outcome o = runAction(window(), [&] {
        return printing::exportBoard(grid_->allRows(), path, [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    });
    progress.reset();
    if (o)
        Messages::instance().information(window(), str("导出完毕"));
}

void MainBoard::setPlayer(std::function<void(const QString&)> play, std::function<void()> stop)
{
    player_ = std::move(play);
    stopPlayer_ = std::move(stop);
    play_->setEnabled(bool(player_));
    stopPlaying_->setEnabled(bool(stopPlayer_));
}

void MainBoard::playRecording()
{
    runAction(window(), [this]() -> Outcome {
        if (!player_)
            return Outcome::done();
        const QVariantMap line = selectedLine();
        const OrderBoard::Recording r =
            OrderBoard(appDb()).recordingOf(line.value(str("录音文件")).toString(), selectedDocument());
        for (const QString& n : r.outcome.notices)
            Messages::instance().information(window(), n);
        if (!r.outcome)
            return r.outcome;
        if (r.file.isEmpty())
            return Outcome::done();
        // The Q-type box stores whole paths; the others names under the
        // program folder, written with the old separator.
        QString file = r.file;
        file.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (login_.callerIdMode != str("录音登陆Q型"))
            file = QDir(programDir()).filePath(file);
        player_(file);
        return Outcome::done();
    });
}

QVariantMap MainBoard::selectedLine() const
{
    return grid_->currentValues();
}

QString MainBoard::selectedDocument() const
{
    return selectedLine().value(str("单据编号")).toString();
}

QString MainBoard::formOf(const QString& entry)
{
    static const QHash<QString, QString> forms{
        {str("发货"), str("Tfahuo")},           {str("收款"), str("Tshoukuan")},
        {str("收票"), str("Tshoukuan")},        {str("签单"), str("Tshoukuan")},
        {str("卡付款"), str("Tshoukuan")},      {str("预付回单"), str("Tshoukuan")},
        {str("预付款回单登记"), str("Tshoukuan")}, {str("删除订货单"), str("Ttuidan")},
        {str("退货"), str("Ttuihuo")},          {str("退款"), str("Ttuikuan")},
        {str("客户追踪"), str("TFkehu_zhuizong")}, {str("水票销售"), str("Tshuipiao_guanli")},
        {str("水票回收"), str("Tshuipiao_huishou")}, {str("空桶出租"), str("Ttong_chuzu")},
        {str("空桶回收"), str("Ttong_huishou")},
    };
    return forms.value(entry);
}

bool MainBoard::openLine(const QString& formClass, const QVariantMap& line, const QString& entry)
{
    const LineOpener open = forms_ ? forms_(formClass) : LineOpener();
    if (!open)
        return false;
    open(window(), line, entry);
    return true;
}

void MainBoard::operate(const QString& entry)
{
    const QString caption = entry.section(QLatin1Char('/'), -1);
    runAction(window(), [&]() -> Outcome {
        OrderBoard board(appDb());
        const QVariantMap line = selectedLine();
        const QString doc = selectedDocument();
        Outcome check = Outcome::done();
        if (caption == str("发货")) {
            check = board.checkDeliver(doc);
        } else if (caption == str("收款") || caption == str("收票") || caption == str("签单") || caption == str("卡付款")) {
            check = board.checkReceive(doc);
        } else if (caption == str("预付回单") || caption == str("预付款回单登记")) {
            check = board.checkPrepaidSlip(doc);
        } else if (caption == str("删除订货单")) {
            check = board.checkCancel(doc);
        } else if (caption == str("退货")) {
            check = board.checkReturn(doc);
        } else if (caption == str("退款")) {
            QString message;
            switch (board.checkRefund(doc, &message)) {
            case OrderBoard::RefundWay::Refuse: return Outcome::refused(message);
            case OrderBoard::RefundWay::CancelInstead:
                Messages::instance().information(window(), message);
                operate(str("删除订货单"));
                return Outcome::done();
            case OrderBoard::RefundWay::Refund: break;
            }
        } else if (caption == str("客户追踪")) {
            if (grid_->rowCount() == 0)
                return Outcome::refused(str("没有选择任何客户！！"));
        }
        if (!check)
            return check;
        openLine(formOf(caption), line, caption);
        return Outcome::done();
    });
}

void MainBoard::applyRights(const LoginValues& login)
{
    for (QAction* a : popupEntries_) {
        const int group = a->property("rightGroup").toInt();
        const bool allowed = group == 0 || login.allows(group, a->property("rightPosition").toInt());
        a->setProperty("rightsAllow", allowed);
    }
    updateEntries();
}

void MainBoard::updateEntries()
{
    for (QAction* a : popupEntries_) {
        const QString form = formOf(a->text());
        const bool exists = forms_ && forms_(form);
        const QVariant allowed = a->property("rightsAllow");
        a->setEnabled(exists && (!allowed.isValid() || allowed.toBool()));
    }
}

} // namespace ts
