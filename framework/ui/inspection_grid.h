#pragma once
// The read-only table shared by the element and the queue window: one fixed
// header row, rows 16 pixels high, and columns measured in multiples of the
// grid font's point size. It starts with one empty data row, which the first
// row written fills. Ctrl+C copies the selected range with its headers.

#include <QTableWidget>

#include <string>
#include <vector>

namespace zorva {

class TInspectionGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        const char* Header;
        int WidthInPoints;              // the width is this many times the font's point size
        const char* Tooltip = nullptr;  // what an abbreviated header stands for
    };

    TInspectionGrid(const char* name, std::vector<Column> columns, QWidget* parent);

    // Back to the header and one empty data row.
    void ResetGrid();
    // The row to write next: the empty first one, then a new one each time.
    int NextRow();
    // A new row below the last, whatever the first row holds.
    int AppendRow();
    int LastRow() const { return rowCount() - 1; }
    void SetCell(int row, int column, const std::string& text);
    std::string Cell(int row, int column) const;
    // The selected range as tab-separated lines, the header row first; what
    // Ctrl+C puts on the clipboard.
    QString SelectionAsText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<Column> columns_;
    bool rowUsed_ = false;
};

}  // namespace zorva
