#include "ui/status_bar.h"

#include "kernel/trace.h"
#include "wire/protocol.h"

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPainter>

namespace zorva {

std::string ClockPanelText() {
    return "Time: " + std::string(Trim(TimeString()));
}
namespace {

constexpr int kBarHeight = 24;

}  // namespace

StatusPanel StatusPanelAt(int x, int w0, int w1, int w2) {
    if (x <= w0) return StatusPanel::None;
    if (x < w0 + w1) return StatusPanel::Elements;
    if (x < w0 + w1 + w2) return StatusPanel::Queues;
    return StatusPanel::None;
}

TZorvaStatusBar::TZorvaStatusBar(QWidget* parent) : QWidget(parent) {
    setObjectName("ZorvaStatusBar");
    setFixedHeight(kBarHeight);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    texts_ = {"Time:", "Elements:    ", "Queues:", ""};
}

void TZorvaStatusBar::SetPanelText(int panel, const std::string& text) {
    if (panel < 0 || panel >= static_cast<int>(texts_.size())) return;
    texts_[panel] = QString::fromStdString(text);
    update();
}

std::string TZorvaStatusBar::PanelText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(texts_.size())) return {};
    return texts_[panel].toStdString();
}

void TZorvaStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    int left = 0;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        const QRect panel(left, 2, kPanelWidths[i] - 2, height() - 3);
        qDrawShadePanel(&painter, panel, palette(), true, 1);
        painter.drawText(panel.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, texts_[i]);
        left += kPanelWidths[i];
    }
}

void TZorvaStatusBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int x = static_cast<int>(event->position().x());
    const StatusPanel panel = StatusPanelAt(x, kPanelWidths[0], kPanelWidths[1], kPanelWidths[2]);
    if (panel != StatusPanel::None) emit PanelClicked(panel);
}

}  // namespace zorva
