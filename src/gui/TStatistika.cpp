#include "gui/TStatistika.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "core/texts/DayNumber.h"

#include "ui_TStatistika.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLineSeries>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QValueAxis>

#include <algorithm>

namespace zelmar {

namespace {

// The last row, "Итого", in bold.
class TotalRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == index.model()->rowCount() - 1)
            option->font.setBold(true);
    }
};

// A group's text standing under its bar, cut to a length that leaves the plot its room.
QString standingLabel(const QString& text) {
    constexpr qsizetype kLongest = 20;
    return text.size() <= kLongest ? text : text.left(kLongest - 1).trimmed() + QChar(0x2026);
}

// Few groups keep their labels level, cut to their width by the chart itself; the labels of
// many stand upright.
constexpr qsizetype kLevelLabels = 6;

bool sameChart(const StatChart& a, const StatChart& b) {
    return a.labels == b.labels && a.materials == b.materials && a.cancelled == b.cancelled &&
           a.shares == b.shares;
}

} // namespace

TStatistika::TStatistika(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TStatistika>()) {
    m_ui->setupUi(this);
    // The meter shows only while the cards are counted.
    m_progress = std::make_unique<QtProgress>(m_ui->StatProgress, nullptr, m_ui->StatProgress);
    QSizePolicy keepPlace = m_ui->StatProgress->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_ui->StatProgress->setSizePolicy(keepPlace);
    m_ui->StatProgress->hide();
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    m_ui->StatGrup->addItems(statGroupingNames());

    QTableView* table = m_ui->StatTabl;
    table->setModel(&m_form.StatTabl);
    table->setItemDelegate(new TotalRowDelegate(table));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(StatTable::Group, QHeaderView::Stretch);
    header->setMinimumSectionSize(70);
    m_ui->StatGrafik->setRenderHint(QPainter::Antialiasing);
    m_ui->StatRazdel->setStretchFactor(0, 2);
    m_ui->StatRazdel->setStretchFactor(1, 3);

    const auto command = [this](QPushButton* button, void (*handler)(AppState&, StatisticsForm&)) {
        connect(button, &QPushButton::clicked, this, [this, handler] { run(handler); });
    };
    command(m_ui->StatPokaz, &StatPokazClick);
    command(m_ui->StatExcel, &StatExcelClick);
    command(m_ui->StatPechat, &StatPechatClick);
    connect(m_ui->StatWyhod, &QPushButton::clicked, this, &QDialog::accept);
    writeControls();
}

TStatistika::~TStatistika() = default;

void TStatistika::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each opening (not the window coming back from being minimised).
    if (!event->spontaneous())
        run(&StatistikaFormShow);
}

void TStatistika::run(void (*command)(AppState&, StatisticsForm&)) {
    readControls();
    Progress* const before = std::exchange(m_state.progress, m_progress.get());
    runCommand(m_state.prompts, [&] { command(m_state, m_form); });
    m_state.progress = before;
    writeControls();
}

void TStatistika::readControls() {
    m_form.StatS = dayNumber(m_ui->StatS->date());
    m_form.StatPo = dayNumber(m_ui->StatPo->date());
    m_form.StatGrup = m_ui->StatGrup->currentIndex();
    m_form.StatArhiv = m_ui->StatArhiv->isChecked();
}

void TStatistika::writeControls() {
    const auto setDate = [](QDateEdit* edit, double day) {
        const QDate date = dateOf(day);
        if (date.isValid() && edit->date() != date)
            edit->setDate(date);
    };
    setDate(m_ui->StatS, m_form.StatS);
    setDate(m_ui->StatPo, m_form.StatPo);
    if (m_ui->StatGrup->currentIndex() != m_form.StatGrup)
        m_ui->StatGrup->setCurrentIndex(m_form.StatGrup);
    m_ui->StatArhiv->setChecked(m_form.StatArhiv);
    if (!m_drawnOnce || !sameChart(m_drawn, m_form.StatGrafik) || m_form.shown != m_drawnShown)
        drawChart();
}

void TStatistika::drawChart() {
    const StatChart& data = m_form.StatGrafik;
    m_drawn = data;
    m_drawnOnce = true;
    m_drawnShown = m_form.shown;

    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    if (data.labels.isEmpty()) {
        chart->setTitle(m_form.shown ? QStringLiteral("В этом периоде карточек нет")
                                     : QStringLiteral("Выберите период и нажмите «Показать»"));
    } else {
        auto* materials = new QBarSet(StatTable::headings().at(StatTable::Materials));
        auto* cancelled = new QBarSet(StatTable::headings().at(StatTable::Cancelled));
        auto* share = new QLineSeries;
        share->setName(StatTable::headings().at(StatTable::Share));
        const bool standing = data.labels.size() > kLevelLabels;
        QStringList labels;
        qint64 largest = 0;
        double largestShare = 0;
        for (qsizetype i = 0; i < data.labels.size(); ++i) {
            const auto at = static_cast<size_t>(i);
            materials->append(static_cast<qreal>(data.materials[at]));
            cancelled->append(static_cast<qreal>(data.cancelled[at]));
            share->append(static_cast<qreal>(i), data.shares[at]);
            labels.append(standing ? standingLabel(data.labels.at(i)) : data.labels.at(i));
            largest = std::max(largest, data.materials[at]);
            largestShare = std::max(largestShare, data.shares[at]);
        }
        materials->setColor(QColor(0x2f, 0x6f, 0xc0));
        cancelled->setColor(QColor(0xd0, 0x45, 0x3a));
        QPen line(QColor(0xe8, 0x9a, 0x1c));
        line.setWidth(3);
        share->setPen(line);
        share->setPointsVisible(true);
        auto* bars = new QBarSeries;
        bars->append(materials);
        bars->append(cancelled);
        chart->addSeries(bars);
        chart->addSeries(share);

        auto* groups = new QBarCategoryAxis;
        groups->append(labels);
        if (standing) {
            groups->setLabelsAngle(-90);
            groups->setTruncateLabels(false);
        }
        chart->addAxis(groups, Qt::AlignBottom);
        bars->attachAxis(groups);
        share->attachAxis(groups);

        auto* counts = new QValueAxis;
        counts->setRange(0, static_cast<qreal>(std::max<qint64>(largest, 1)));
        counts->applyNiceNumbers();
        counts->setLabelFormat(QStringLiteral("%.0f"));
        counts->setTitleText(QStringLiteral("материалов"));
        chart->addAxis(counts, Qt::AlignLeft);
        bars->attachAxis(counts);

        auto* percent = new QValueAxis;
        percent->setRange(0, std::clamp(largestShare * 1.2, 10.0, 100.0));
        percent->applyNiceNumbers();
        percent->setLabelFormat(QStringLiteral("%.0f %%"));
        percent->setTitleText(QStringLiteral("доля отменённых"));
        chart->addAxis(percent, Qt::AlignRight);
        share->attachAxis(percent);
    }
    QChart* previous = m_ui->StatGrafik->chart();
    m_ui->StatGrafik->setChart(chart);
    delete previous;
}

} // namespace zelmar
