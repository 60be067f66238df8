#pragma once
// The main window's status bar: four panels side by side (the clock, the
// element count, the queue count and the run's state). A left click on a panel
// is reported with the panel it fell on.

#include <QWidget>

#include <array>
#include <string>

namespace zorva {

// "Time: " and the clock, for the status bar's first panel.
std::string ClockPanelText();

enum class StatusPanel { None, Time, Elements, Queues };

// Which panel a click at x opens: the time panel up to and including its
// right edge opens nothing, nor does anything right of the queues panel.
StatusPanel StatusPanelAt(int x, int w0, int w1, int w2);

class TZorvaStatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr std::array<int, 4> kPanelWidths = {100, 100, 100, 230};

    explicit TZorvaStatusBar(QWidget* parent);

    void SetPanelText(int panel, const std::string& text);
    std::string PanelText(int panel) const;

signals:
    void PanelClicked(zorva::StatusPanel panel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::array<QString, 4> texts_;
};

}  // namespace zorva
