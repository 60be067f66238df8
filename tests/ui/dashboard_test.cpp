// The right half of the main window and what follows a run: the live chart
// within its point budget, the pace, and the summary with its files.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineSeries>
#include <QProcess>
#include <QTemporaryDir>

#include "ui/inspection_grid.h"
#include "ui/locale_numbers.h"
#include "ui/queue_chart.h"
#include "ui/queue_form.h"
#include "ui/run_dashboard.h"
#include "ui/run_summary_window.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

class DashboardTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        InitTestModel();
        SetServerAddress("");
        SetStopTime(10.0);
    }
    TRunDashboard& Dashboard() const { return *form_->Dashboard(); }
    static ZorvaQueue& Queue(const std::string& name) {
        for (ZorvaQueue* queue : RegisteredQueues())
            if (queue->Name == name) return *queue;
        throw std::runtime_error("no queue " + name);
    }
};

QJsonObject ReadJson(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QJsonDocument::fromJson(file.readAll()).object();
}

TEST_F(DashboardTest, ChartLinesStayWithinTheirPointBudget) {
    ZorvaQueue& line = Queue("Line");
    for (int i = 0; i < 1'000'000; ++i) line.LengthTrace.Record(i, static_cast<std::uint16_t>(i % 5));
    Dashboard().Chart()->Refresh();
    const QLineSeries* series = Dashboard().Chart()->Line("Line");
    ASSERT_NE(series, nullptr);
    EXPECT_LE(static_cast<std::size_t>(series->count()), TQueueChart::PointBudget());
    EXPECT_GT(series->count(), 100);
}

TEST_F(DashboardTest, PaceHoldsTheRunToWallClockTime) {
    ASSERT_TRUE(Dashboard().ApplyPace("100"));
    QElapsedTimer took;
    took.start();
    RunThroughStart();
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_GE(took.elapsed(), 100) << "10 time units at 100 per second";
}

TEST_F(DashboardTest, ABadPaceIsRefusedAndThePaceInForceKept) {
    ASSERT_TRUE(Dashboard().ApplyPace("100"));
    EXPECT_FALSE(Dashboard().ApplyPace("fast"));
    EXPECT_FALSE(Dashboard().ApplyPace("-5"));
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].Text,
              "'fast' is not a pace: give time units per second above 0, or choose \"As fast as possible\"");
    EXPECT_EQ(Dashboard().Pace().UnitsPerSecond(), 100.0);
    EXPECT_EQ(Dashboard().PaceCombo()->currentText(), "100");
    EXPECT_TRUE(Dashboard().ApplyPace(" as fast as possible "));
    EXPECT_EQ(Dashboard().Pace().UnitsPerSecond(), 0.0);
}

#ifdef UI_TEST_MODEL_EXECUTABLE
TEST_F(DashboardTest, SummaryShowsWhatTheReportOfTheSameRunSays) {
    RunThroughStart();
    TRunSummaryWindow* summary = form_->Summary();
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->isVisible());
    EXPECT_EQ(summary->windowTitle(), "Run summary — ui_tests");
    EXPECT_EQ(Dashboard().Chart()->Line("Line")->count() > 0, true);

    QTemporaryDir dir;
    QProcess batch;
    batch.setWorkingDirectory(dir.path());
    batch.start(UI_TEST_MODEL_EXECUTABLE, {"--headless", "--server", "none", "--start", "--exit-at-end", "--stop-time",
                                           "10", "--report", "batch.json"});
    ASSERT_TRUE(batch.waitForFinished(20000));
    ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
    QJsonObject report = ReadJson(dir.filePath("batch.json"));

    ASSERT_TRUE(summary->SaveReport(dir.filePath("summary.json")));
    QJsonObject saved = ReadJson(dir.filePath("summary.json"));
    report.remove("model");
    saved.remove("model");
    EXPECT_EQ(saved, report);

    EXPECT_EQ(summary->FigureText("Clock"), FormatLocal(report["clock"].toDouble()));
    const QJsonObject figures = report["figures"].toObject();
    ASSERT_FALSE(figures.isEmpty());
    for (const QString& name : figures.keys())
        EXPECT_EQ(summary->FigureText(name.toStdString()), std::to_string(figures[name].toInteger()));
    const TInspectionGrid& grid = *summary->Queues()->Grid();
    const QJsonArray queues = report["queues"].toArray();
    ASSERT_EQ(grid.rowCount(), queues.size());
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QJsonObject q = queues[row].toObject();
        EXPECT_EQ(grid.Cell(row, 0), q["name"].toString().toStdString());
        EXPECT_EQ(grid.Cell(row, 2), FormatLocal(q["avgLength"].toDouble(), 1));
        EXPECT_EQ(grid.Cell(row, 4), std::to_string(q["totalPassed"].toInteger()));
        EXPECT_EQ(grid.Cell(row, 6), FormatLocal(q["avgWaitingTime"].toDouble()));
    }

    EXPECT_TRUE(summary->SaveTrace(dir.filePath("trace.txt")));
    EXPECT_TRUE(summary->SaveChart(dir.filePath("chart.png")));
    EXPECT_TRUE(QFile(dir.filePath("chart.png")).size() > 0);
    EXPECT_FALSE(summary->SaveReport(dir.filePath("missing-dir/summary.json")));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "Error writing report " + dir.filePath("missing-dir/summary.json").toStdString());
}
#endif

}  // namespace
}  // namespace zorva::uitest
