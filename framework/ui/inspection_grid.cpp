#include "ui/inspection_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

namespace zorva {
namespace {

constexpr int kRowHeight = 16;
constexpr int kGridPointSize = 8;

}  // namespace

TInspectionGrid::TInspectionGrid(const char* name, std::vector<Column> columns, QWidget* parent)
    : QTableWidget(parent), columns_(std::move(columns)) {
    setObjectName(name);
    QFont gridFont = font();
    gridFont.setPointSize(kGridPointSize);
    setFont(gridFont);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(true);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setColumnCount(static_cast<int>(columns_.size()));
    const int points = gridFont.pointSize();
    for (int i = 0; i < columnCount(); ++i) setColumnWidth(i, columns_[i].WidthInPoints * points);
    ResetGrid();
}

void TInspectionGrid::ResetGrid() {
    setRowCount(0);
    setRowCount(1);
    rowUsed_ = false;
    QStringList headers;
    for (const Column& column : columns_) headers << column.Header;
    setHorizontalHeaderLabels(headers);
    for (int i = 0; i < columnCount(); ++i)
        if (columns_[i].Tooltip) horizontalHeaderItem(i)->setToolTip(columns_[i].Tooltip);
}

int TInspectionGrid::NextRow() {
    if (rowUsed_) setRowCount(rowCount() + 1);
    rowUsed_ = true;
    return LastRow();
}

int TInspectionGrid::AppendRow() {
    setRowCount(rowCount() + 1);
    return LastRow();
}

void TInspectionGrid::SetCell(int row, int column, const std::string& text) {
    setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
}

std::string TInspectionGrid::Cell(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text().toStdString() : std::string();
}

QString TInspectionGrid::SelectionAsText() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return {};
    // The selection is one contiguous range.
    const QTableWidgetSelectionRange& range = ranges.front();
    QStringList lines;
    QStringList headers;
    for (int c = range.leftColumn(); c <= range.rightColumn(); ++c) headers << columns_[c].Header;
    lines << headers.join('\t');
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
        QStringList cells;
        for (int c = range.leftColumn(); c <= range.rightColumn(); ++c) cells << QString::fromStdString(Cell(r, c));
        lines << cells.join('\t');
    }
    return lines.join('\n') + '\n';
}

void TInspectionGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(SelectionAsText());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

}  // namespace zorva
