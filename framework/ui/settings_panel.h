#pragma once
// The settings panel that lies over the right part of the main window:
// server address, break time, trace output, animation and message log, and
// the end time of the run below them.
// It only holds the controls; the main window fills them when it opens the
// panel and applies them when OK is chosen.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace zorva {

class TSettingsPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kLeft = 352;
    static constexpr int kTop = 104;

    explicit TSettingsPanel(QWidget* parent);

    QComboBox* ServerAddressCombo() const { return serverCombo_; }
    QLineEdit* BreakEdit() const { return breakEdit_; }
    QComboBox* OutputCombo() const { return outputCombo_; }
    QLineEdit* EndEdit() const { return endEdit_; }
    QCheckBox* AnimationCheckBox() const { return animationCheck_; }
    QCheckBox* MessageCheckBox() const { return messageCheck_; }
    QPushButton* OKButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

    // Keeps the panel at its place, or as far right as the window allows.
    void PlaceWithin(int clientWidth);

private:
    // The message log needs a server: the box is offered only with an address.
    void GoSetMessageCheck(const QString& address);

    QComboBox* serverCombo_;
    QLineEdit* breakEdit_;
    QComboBox* outputCombo_;
    QLineEdit* endEdit_;
    QCheckBox* animationCheck_;
    QCheckBox* messageCheck_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    int width_ = 0;
};

}  // namespace zorva
