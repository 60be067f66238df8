#include "ui/settings_panel.h"

#include <QLabel>
#include <QShortcut>
#include <QStyle>

#include <algorithm>

namespace zorva {
namespace {

constexpr int kWidth = 297;
constexpr int kHeight = 257;
constexpr int kFieldLeft = 115;
constexpr int kFieldWidth = 153;
constexpr int kRightMargin = 29;

template <class Widget>
Widget* Named(Widget* widget, const char* name, QRect place) {
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

// The right edge of the label.
int Label(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* label = Named(new QLabel(text, parent), name, QRect(left, top, 80, 17));
    label->adjustSize();
    return label->geometry().right();
}

QComboBox* EditableCombo(QWidget* parent, const char* name, QRect place, const QStringList& items) {
    auto* combo = Named(new QComboBox(parent), name, place);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setEditText("");
    return combo;
}

}  // namespace

TSettingsPanel::TSettingsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("SettingsPanel");
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);

    Label(this, "Label1", "Settings", 27, 22);
    int labelsRight = Label(this, "Label2", "ServerAddress", 27, 64);
    labelsRight = std::max(labelsRight, Label(this, "Label3", "Break At", 27, 112));
    labelsRight = std::max(labelsRight, Label(this, "Label4", "Output to", 27, 160));
    labelsRight = std::max(labelsRight, Label(this, "Label5", "End time", 27, 232));
    // A wide font moves the fields right of their design place, never over
    // the labels, and widens the panel with them.
    const int left = std::max(kFieldLeft, labelsRight + 8);
    width_ = std::max(kWidth, left + kFieldWidth + kRightMargin);
    setGeometry(kLeft, kTop, width_, kHeight);

    okButton_ = Named(new QPushButton("OK", this), "SettingOKButton", QRect(left, 16, 75, 25));
    okButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    cancelButton_ = Named(new QPushButton("Cancel", this), "SettingsCancelButton", QRect(left + 80, 16, 75, 25));
    cancelButton_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* escape = new QShortcut(Qt::Key_Escape, this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cancelButton_, &QPushButton::click);

    serverCombo_ = EditableCombo(this, "ServerAddressCombo", QRect(left, 60, kFieldWidth, 21), {"None", "LocalHost"});
    breakEdit_ = Named(new QLineEdit(this), "BreakEdit", QRect(left, 108, kFieldWidth, 21));
    outputCombo_ = EditableCombo(this, "OutputCombo", QRect(left, 156, kFieldWidth, 21), {"Screen"});
    endEdit_ = Named(new QLineEdit(this), "EndEdit", QRect(left, 228, kFieldWidth, 21));
    endEdit_->setToolTip("The run ends at this time; empty: when nothing is left to do");
    animationCheck_ = Named(new QCheckBox("Animation", this), "AnimationCheckBox", QRect(32, 200, 110, 17));
    messageCheck_ = Named(new QCheckBox("Message Log", this), "MessageCheckBox", QRect(168, 200, 120, 17));
    messageCheck_->adjustSize();
    animationCheck_->adjustSize();

    connect(serverCombo_, &QComboBox::editTextChanged, this, &TSettingsPanel::GoSetMessageCheck);
    hide();
}

void TSettingsPanel::PlaceWithin(int clientWidth) {
    move(std::max(0, std::min(kLeft, clientWidth - width_)), y());
}

void TSettingsPanel::GoSetMessageCheck(const QString& address) {
    const QString trimmed = address.trimmed();
    messageCheck_->setEnabled(!trimmed.isEmpty() && trimmed.toUpper() != "NONE");
}

}  // namespace zorva
