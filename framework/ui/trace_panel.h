#pragma once
// The left side of the main window: the trace panel with the Trace and Step
// Mode check boxes, the Next Step button and the trace memo, inside the area
// that the splitter sizes. With the trace on the panel fills the area and
// shows the memo; with it off only the strip of check boxes is left.

#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QToolButton>

namespace zorva {

class TTracePanel : public QFrame {
    Q_OBJECT
public:
    explicit TTracePanel(QWidget* parent);

    QCheckBox* TraceCheckBox() const { return traceCheck_; }
    QCheckBox* StepModeCheckBox() const { return stepModeCheck_; }
    QToolButton* StepButton() const { return stepButton_; }
    QPlainTextEdit* TraceMemo() const { return memo_; }
    // The height of the panel with the trace off.
    int CollapsedHeight() const;

    // The memo's place within the panel, whether or not it is shown.
    void GoResizeTraceMemo();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitStepControls();

    QCheckBox* traceCheck_;
    QFrame* stepBevel_;
    QCheckBox* stepModeCheck_;
    QToolButton* stepButton_;
    QPlainTextEdit* memo_;
};

// The splitter's left pane, which keeps the trace panel at its top.
class TTraceArea : public QWidget {
    Q_OBJECT
public:
    explicit TTraceArea(QWidget* parent);

    TTracePanel* Panel() const { return panel_; }
    // Full height with the memo shown, or collapsed with the memo hidden.
    void LayOutTracePanel(bool traceOn);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlacePanel();

    TTracePanel* panel_;
    bool traceOn_ = false;
};

}  // namespace zorva
