// The element and queue tables, the status bar that opens them, and the
// trace memo's limit.
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "test_clock.h"
#include "ui/element_form.h"
#include "ui/inspection_grid.h"
#include "ui/inspection_windows.h"
#include "ui/queue_form.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

class TIdle : public ZorvaElement {
public:
    explicit TIdle(const char* name) : ZorvaElement(this, name) {}
    void Process() override { Finish(); }
};

using Row = std::vector<std::string>;

std::vector<Row> Rows(const TInspectionGrid& grid) {
    std::vector<Row> rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        Row row;
        for (int c = 0; c < grid.columnCount(); ++c) row.push_back(grid.Cell(r, c));
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Headers(const TInspectionGrid& grid) {
    std::vector<std::string> headers;
    for (int c = 0; c < grid.columnCount(); ++c) headers.push_back(grid.horizontalHeaderItem(c)->text().toStdString());
    return headers;
}

class InspectionTest : public UiTest {
protected:
    void ClickStatusBar(int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(form_->StatusBar(), button, {}, QPoint(x, 12));
    }
};

TEST_F(InspectionTest, EmptyTablesShowTheHeaderAndOneEmptyRow) {
    ShowElements();
    ShowQueues();
    ASSERT_NE(ElementForm(), nullptr);
    ASSERT_NE(QueueForm(), nullptr);
    EXPECT_EQ(Headers(*ElementForm()->Grid()),
              (std::vector<std::string>{"Name", "ArrivalTime", "Status", "Eventtime", "Queue", "QueueTime"}));
    EXPECT_EQ(Headers(*QueueForm()->Grid()), (std::vector<std::string>{"Name", "Length", "Avg.Lgth", "Max.Lgth",
                                                                       "Tot.Passed", "Direct", "Avg. WT", "Max. WT"}));
    EXPECT_EQ(Rows(*ElementForm()->Grid()), (std::vector<Row>{Row(6)}));
    EXPECT_EQ(Rows(*QueueForm()->Grid()), (std::vector<Row>{Row(8)}));
    EXPECT_EQ(ElementForm()->windowTitle(), "Elements — ui_tests");
    EXPECT_EQ(QueueForm()->windowTitle(), "Queues — ui_tests");
    EXPECT_EQ(ElementForm()->Grid()->columnWidth(0), 2 * ElementForm()->Grid()->columnWidth(1));
}

TEST_F(InspectionTest, ElementInSeveralQueuesTakesContinuationRows) {
    ZorvaQueue a("A"), b("B"), c("C");
    zorva::testing::SetClock(1.5);
    auto* busy = new TIdle("Busy");
    auto* alone = new TIdle("Alone");
    zorva::testing::SetClock(2.25);
    busy->EnterQueue(a);
    zorva::testing::SetClock(3.0);
    busy->EnterQueue(b);
    busy->EnterQueue(c);
    alone->Start(7.126);
    ShowElements();
    EXPECT_EQ(Rows(*ElementForm()->Grid()), (std::vector<Row>{
                                                {"Busy", "1.50", "Data", "Never", "A", "2.25"},
                                                {"", "", "", "", "B", "3.00"},
                                                {"", "", "", "", "C", "3.00"},
                                                {"Alone", "1.50", "Scheduled on Time", "7.13", "", ""},
                                            }));
    // A second showing fills the same window anew.
    TElementForm* first = ElementForm();
    busy->LeaveQueue(b);
    ShowElements();
    EXPECT_EQ(ElementForm(), first);
    EXPECT_EQ(ElementForm()->Grid()->rowCount(), 3);
    EXPECT_EQ(ElementForm()->Grid()->Cell(1, 4), "C");
    delete busy;
    delete alone;
}

TEST_F(InspectionTest, QueueTableShowsTheStatisticsAsTheQueueHoldsThem) {
    ZorvaQueue passing("Passing"), waiting("Waiting");
    auto* one = new TIdle("One");
    auto* two = new TIdle("Two");
    one->EnterQueue(passing);
    one->LeaveQueue(passing);
    two->EnterQueue(passing);
    two->LeaveQueue(passing);
    one->EnterQueue(waiting);
    two->EnterQueue(waiting);
    zorva::testing::SetClock(4.0);
    one->LeaveQueue(waiting);
    zorva::testing::SetClock(10.0);
    ShowQueues();
    // Waiting: length 2 over [0, 4] when its length last changed: average 2.0.
    EXPECT_EQ(Rows(*QueueForm()->Grid()), (std::vector<Row>{
                                              {"Passing", "0", "0.0", "1", "2", "2", "0.00", "0.00"},
                                              {"Waiting", "1", "2.0", "2", "1", "0", "4.00", "4.00"},
                                          }));
    delete one;
    delete two;
}

TEST_F(InspectionTest, StatusBarPanelsOpenTheTablesAtTheirEdges) {
    const int w0 = TZorvaStatusBar::kPanelWidths[0];
    const int w1 = TZorvaStatusBar::kPanelWidths[1];
    const int w2 = TZorvaStatusBar::kPanelWidths[2];
    EXPECT_EQ(StatusPanelAt(w0, w0, w1, w2), StatusPanel::None);
    EXPECT_EQ(StatusPanelAt(w0 + 1, w0, w1, w2), StatusPanel::Elements);
    EXPECT_EQ(StatusPanelAt(w0 + w1 - 1, w0, w1, w2), StatusPanel::Elements);
    EXPECT_EQ(StatusPanelAt(w0 + w1, w0, w1, w2), StatusPanel::Queues);
    EXPECT_EQ(StatusPanelAt(w0 + w1 + w2 - 1, w0, w1, w2), StatusPanel::Queues);
    EXPECT_EQ(StatusPanelAt(w0 + w1 + w2, w0, w1, w2), StatusPanel::None);

    ClickStatusBar(w0);
    ClickStatusBar(w0 + w1 + w2 + 10);
    ClickStatusBar(w0 + 50, Qt::RightButton);
    EXPECT_EQ(ElementForm(), nullptr);
    EXPECT_EQ(QueueForm(), nullptr);
    ClickStatusBar(w0 + w1);
    EXPECT_EQ(ElementForm(), nullptr);
    ASSERT_NE(QueueForm(), nullptr);
    EXPECT_TRUE(QueueForm()->isVisible());
    ClickStatusBar(w0 + 1);
    ASSERT_NE(ElementForm(), nullptr);
    EXPECT_TRUE(ElementForm()->isVisible());
}

TEST_F(InspectionTest, OpeningATableDuringARunLeavesItInterrupted) {
    InitTestModel();
    SetServerAddress("");
    SetStopTime(500.0);
    std::vector<Row> atThree;
    AtSimTime(3.0, [&] {
        ClickStatusBar(TZorvaStatusBar::kPanelWidths[0] + 10);
        EXPECT_EQ(RunState(), rsInterrupted);
        EXPECT_TRUE(form_->ResumeItem()->isEnabled());
        atThree = Rows(*ElementForm()->Grid());
        Post([&] {
            EXPECT_EQ(RunState(), rsInterrupted);
            form_->close();
        });
    });
    RunThroughStart();
    ASSERT_FALSE(atThree.empty());
    EXPECT_EQ(atThree[0][0], "Generator");
    EXPECT_EQ(atThree[0][3], "4.00");
}

TEST_F(InspectionTest, CopyTakesTheSelectedRangeWithItsHeaders) {
    ZorvaQueue alpha("Alpha");
    ZorvaQueue beta("Beta");
    ShowQueues();
    TInspectionGrid* grid = QueueForm()->Grid();
    grid->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 1), true);
    QTest::keySequence(grid, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "Name\tLength\nAlpha\t0\nBeta\t0\n");
    EXPECT_FALSE(grid->horizontalHeaderItem(2)->toolTip().isEmpty()) << "Avg.Lgth is explained";
}

TEST_F(InspectionTest, TraceMemoFollowsTheNewestLineUntilScrolledUp) {
    form_->SetTrace(true);
    QScrollBar* bar = Memo()->verticalScrollBar();
    const auto add = [this](int lines, const QString& text) {
        for (int i = 0; i < lines; ++i) form_->TracePanel()->AppendTraceLine(text + QString::number(i));
        QApplication::processEvents();
    };
    add(60, "line ");
    add(1, QString(3000, 'x'));
    add(60, "after a long line ");
    ASSERT_TRUE(Memo()->horizontalScrollBar()->isVisible());
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    add(10, "while scrolled up ");
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum());
    add(10, "at the bottom again ");
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(InspectionTest, TraceMemoKeepsTheLast500Lines) {
    for (int i = 1; i <= 501; ++i) TraceText("line " + std::to_string(i));
    QPlainTextEdit* memo = form_->TracePanel()->TraceMemo();
    EXPECT_EQ(memo->blockCount(), 500);
    EXPECT_EQ(memo->document()->firstBlock().text(), "line 2");
    EXPECT_EQ(memo->document()->lastBlock().text(), "line 501");
}

}  // namespace
}  // namespace zorva::uitest
