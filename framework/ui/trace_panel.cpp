#include "ui/trace_panel.h"

#include <QScrollBar>
#include <QStyle>

#include <algorithm>

#include "kernel/trace_sink.h"

namespace zorva {
namespace {

constexpr int kMemoLeft = 5;
constexpr int kMemoBelowCheckBox = 30;

QCheckBox* BoldCheckBox(const char* name, const char* caption, QRect place, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    box->setGeometry(place);
    return box;
}

}  // namespace

TTracePanel::TTracePanel(QWidget* parent) : QFrame(parent) {
    setObjectName("TracePanel");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);

    stepBevel_ = new QFrame(this);
    stepBevel_->setObjectName("StepBevel");
    stepBevel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    stepBevel_->setGeometry(88, 8, 129, 35);

    traceCheck_ = BoldCheckBox("TraceCheckBox", "Trace", QRect(16, 16, 97, 17), this);
    stepModeCheck_ = BoldCheckBox("StepModeCheckBox", "Step Mode", QRect(96, 16, 81, 17), this);

    stepButton_ = new QToolButton(this);
    stepButton_->setObjectName("StepButton");
    stepButton_->setGeometry(181, 14, 23, 22);
    FitStepControls();
    stepButton_->setToolTip("Next Step");
    stepButton_->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    stepButton_->setAutoRaise(true);
    stepButton_->hide();

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("TraceMemo");
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setMaximumBlockCount(static_cast<int>(MaxTraceLines));
    memo_->hide();
    FollowTrace();
}

// Only the user moves the view while lines come in: a move that the memo
// makes itself (a line added, the oldest dropped, the scroll range grown by
// a horizontal scroll bar) never ends following.
void TTracePanel::FollowTrace() {
    QScrollBar* bar = memo_->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) {
        if (!appending_) following_ = value >= bar->maximum();
    });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (following_) bar->setValue(maximum);
    });
}

void TTracePanel::AppendTraceLine(const QString& line) {
    appending_ = true;
    memo_->appendPlainText(line);
    appending_ = false;
    if (following_) memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

// A wide font would cut the check box's caption: the box, and the frame and
// the button with it, then grow to the right of their design places.
void TTracePanel::FitStepControls() {
    const int width = std::max(stepModeCheck_->width(), stepModeCheck_->sizeHint().width());
    stepModeCheck_->resize(width, stepModeCheck_->height());
    stepButton_->move(std::max(stepButton_->x(), stepModeCheck_->geometry().right() + 4), stepButton_->y());
    const int bevelRight = std::max(stepBevel_->geometry().right(), stepButton_->geometry().right() + 8);
    stepBevel_->resize(bevelRight - stepBevel_->x() + 1, stepBevel_->height());
}

int TTracePanel::CollapsedHeight() const {
    return stepBevel_->height() + 10;
}

void TTracePanel::GoResizeTraceMemo() {
    const int top = traceCheck_->y() + kMemoBelowCheckBox;
    memo_->setGeometry(kMemoLeft, top, width() - 2 * kMemoLeft, height() - top - kMemoLeft);
}

void TTracePanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    GoResizeTraceMemo();
}

TTraceArea::TTraceArea(QWidget* parent) : QWidget(parent), panel_(new TTracePanel(this)) {
    setObjectName("TraceArea");
    setMinimumWidth(0);
    PlacePanel();
}

void TTraceArea::LayOutTracePanel(bool traceOn) {
    traceOn_ = traceOn;
    PlacePanel();
    panel_->GoResizeTraceMemo();
    panel_->TraceMemo()->setVisible(traceOn);
}

void TTraceArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlacePanel();
}

void TTraceArea::PlacePanel() {
    panel_->setGeometry(0, 0, width(), traceOn_ ? height() : panel_->CollapsedHeight());
}

}  // namespace zorva
