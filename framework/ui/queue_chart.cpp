#include "ui/queue_chart.h"

#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "kernel/kernel.h"

namespace zorva {
namespace {

// Step lines: the length holds until the next change, then jumps.
QList<QPointF> StepPoints(const std::vector<TLengthPoint>& points, double clock, std::uint16_t length) {
    QList<QPointF> steps;
    steps.reserve(static_cast<qsizetype>(2 * points.size() + 1));
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) steps.append(QPointF(points[i].Time, points[i - 1].Length));
        steps.append(QPointF(points[i].Time, points[i].Length));
    }
    if (points.empty() || clock > points.back().Time) {
        if (!points.empty()) steps.append(QPointF(clock, points.back().Length));
        steps.append(QPointF(clock, length));
    }
    return steps;
}

// Ticks at round numbers (1, 2 or 5 times a power of ten), about five of
// them, so that whole labels stand where their values are.
double NiceStep(double span) {
    const double rough = std::max(span, 1.0) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10.0 * power;
}

void SetRange(QValueAxis& axis, double from, double to) {
    const double step = NiceStep(to - from);
    axis.setTickAnchor(std::floor(from / step) * step);
    axis.setTickInterval(step);
    axis.setRange(from, to);
}

}  // namespace

std::size_t TQueueChart::PointBudget() {
    return 2 * TQueueLengthTrace::kPointBudget + 1;
}

// The chart is handed to the view's constructor: a chart set later would
// leave the view's own first chart unowned.
TQueueChart::TQueueChart(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName("QueueChart");
    // Steps are level and upright lines: smoothing their edges would cost
    // drawing time for nothing.
    setRenderHint(QPainter::Antialiasing, false);
    QChart* chart = this->chart();
    chart->setTitle("Queue lengths");
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    timeAxis_ = new QValueAxis;
    timeAxis_->setTitleText("Simulated time");
    timeAxis_->setLabelFormat("%g");
    timeAxis_->setTickType(QValueAxis::TicksDynamic);
    lengthAxis_ = new QValueAxis;
    lengthAxis_->setTitleText("Length");
    lengthAxis_->setLabelFormat("%.0f");
    lengthAxis_->setTickType(QValueAxis::TicksDynamic);
    chart->addAxis(timeAxis_, Qt::AlignBottom);
    chart->addAxis(lengthAxis_, Qt::AlignLeft);
    setMinimumHeight(120);
}

TQueueChart::~TQueueChart() {
    if (isVisible()) RecordQueueLengths(false);
}

void TQueueChart::showEvent(QShowEvent* event) {
    QChartView::showEvent(event);
    RecordQueueLengths(true);
    Refresh();
}

void TQueueChart::hideEvent(QHideEvent* event) {
    QChartView::hideEvent(event);
    RecordQueueLengths(false);
}

// Queues come and go during a run: the lines follow the registry by name.
void TQueueChart::MatchQueues() {
    const std::vector<ZorvaQueue*> queues = RegisteredQueues();
    const bool same = queues.size() == lines_.size() &&
                      std::equal(queues.begin(), queues.end(), lines_.begin(),
                                 [](const ZorvaQueue* q, const TLine& line) { return q->Name == line.Queue; });
    if (same) return;
    chart()->removeAllSeries();
    lines_.clear();
    for (const ZorvaQueue* queue : queues) {
        auto* series = new QLineSeries;
        series->setName(QString::fromStdString(queue->Name));
        chart()->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(lengthAxis_);
        lines_.push_back({queue->Name, series, ~std::uint64_t{0}, -1.0});
    }
}

void TQueueChart::Refresh() {
    MatchQueues();
    const std::vector<ZorvaQueue*> queues = RegisteredQueues();
    const double clock = SimTime();
    double start = clock;
    int longest = 1;
    for (std::size_t i = 0; i < queues.size(); ++i) {
        const ZorvaQueue& queue = *queues[i];
        const auto& points = queue.LengthTrace.Points();
        if (!points.empty()) start = std::min(start, points.front().Time);
        longest = std::max({longest, static_cast<int>(queue.MaxLength), static_cast<int>(queue.Length)});
        TLine& line = lines_[i];
        if (line.Version == queue.LengthTrace.Version() && line.Clock == clock) continue;
        line.Series->replace(StepPoints(points, clock, queue.Length));
        line.Version = queue.LengthTrace.Version();
        line.Clock = clock;
    }
    SetRange(*timeAxis_, start, std::max(clock, start + 1.0));
    SetRange(*lengthAxis_, 0, longest + 1);
}

QLineSeries* TQueueChart::Line(const std::string& queueName) const {
    for (const TLine& line : lines_)
        if (line.Queue == queueName) return line.Series;
    return nullptr;
}

}  // namespace zorva
