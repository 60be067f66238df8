#include "ui_test_support.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace zorva::uitest {
namespace {

class TActionAtTime : public ZorvaElement {
public:
    TActionAtTime(double t, std::function<void()> action)
        : ZorvaElement(this, "Action"), time_(t), action_(std::move(action)) {}
    void Process() override {
        Hold(time_ - SimTime());
        UiTest::Post(std::move(action_));
        FinishAndDestroy();
    }

private:
    double time_;
    std::function<void()> action_;
};

}  // namespace

void UiTest::AtSimTime(double t, std::function<void()> action) {
    (new TActionAtTime(t, std::move(action)))->Start(0.0);
}

int UiTest::MemoLinesContaining(const std::string& text) const {
    int count = 0;
    const QString wanted = QString::fromStdString(text);
    for (QTextBlock block = Memo()->document()->begin(); block.isValid(); block = block.next())
        if (block.text().contains(wanted)) ++count;
    return count;
}

}  // namespace zorva::uitest
