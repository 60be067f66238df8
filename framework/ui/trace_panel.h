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
    // Adds a line to the memo. The memo follows the newest line unless the
    // user has scrolled up; scrolling back to the bottom follows again. A
    // long line that brings in the horizontal scroll bar changes nothing.
    void AppendTraceLine(const QString& line);
    bool FollowingTrace() const { return following_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitStepControls();
    void FollowTrace();

    QCheckBox* traceCheck_;
    QFrame* stepBevel_;
    QCheckBox* stepModeCheck_;
    QToolButton* stepButton_;
    QPlainTextEdit* memo_;
    bool following_ = true;
    bool appending_ = false;
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
