#include "animation/camera_form.h"

#include <QCloseEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QStyle>
#include <QVBoxLayout>

#include "animation/camera_file_edit.h"
#include "animation/camera_positions.h"

namespace zorva {

namespace {

QPushButton* Button(const QString& text, QStyle::StandardPixmap icon, QRect place, QWidget* parent) {
    auto* button = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    button->setGeometry(place);
    return button;
}

QString NamelessLinesMessage(const QString& file_name, const std::vector<std::string>& lines) {
    QStringList numbers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(kCameraSeparator) == std::string::npos) {
            numbers << QString::number(i + 1);
        }
    }
    if (numbers.isEmpty()) return {};
    return QStringLiteral(
               "Camera positions file \"%1\": line(s) %2 have no \":::\" and show as "
               "empty entries.")
        .arg(file_name, numbers.join(QStringLiteral(", ")));
}

}  // namespace

TCameraForm::TCameraForm(AnimationHost& host, const QString& file_name, TCameraAccess camera, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      fileName_(file_name),
      camera_(std::move(camera)) {
    setWindowTitle(QStringLiteral("Camera Positioning"));
    AskName = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString name =
            QInputDialog::getText(this, QStringLiteral("Save camera position"), QStringLiteral("Name of the position:"),
                                  QLineEdit::Normal, QString(), &ok);
        if (!ok) return std::nullopt;
        return name;
    };
    setGeometry(245, 112, 530, 238);
    BuildLayout();
    GoCreateCameraForm(file_name);
}

void TCameraForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QWidget(this);
    layout->addWidget(panel);

    SaveButton = Button(QStringLiteral("Save"), QStyle::SP_DialogSaveButton, {5, 3, 75, 25}, panel);
    SaveButton->setToolTip(QStringLiteral("Save current cameraposition"));
    SelectButton = Button(QStringLiteral("Select"), QStyle::SP_DialogApplyButton, {83, 3, 75, 25}, panel);
    SelectButton->setToolTip(QStringLiteral("Select cameraposition"));
    DeleteButton = Button(QStringLiteral("Delete"), QStyle::SP_TrashIcon, {160, 3, 75, 25}, panel);
    CloseButton = Button(QStringLiteral("Close"), QStyle::SP_DialogCloseButton, {442, 2, 75, 25}, panel);
    SelectListBox = new QListWidget(panel);
    SelectListBox->setGeometry(7, 32, 511, 174);

    connect(SelectListBox, &QListWidget::itemClicked, this, [this] { HandleSelectClick(); });
    connect(SelectListBox, &QListWidget::itemDoubleClicked, this, [this] { GoSelectItem(); });
    connect(SelectButton, &QPushButton::clicked, this, [this] { GoSelectItem(); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { GoSaveItem(); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { GoDeleteItem(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { GoCloseCameraForm(); });
}

void TCameraForm::GoCreateCameraForm(const QString& file_name) {
    SelectButton->setEnabled(false);
    DeleteButton->setEnabled(false);
    SelectListBox->clear();
    file_ = LoadCameraFile(file_name.toStdString());
    for (const std::string& name : file_.Names) {
        SelectListBox->addItem(QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size())));
    }
    QStringList problems;
    if (!file_.Message.empty()) problems << QString::fromStdString(file_.Message);
    const QString nameless = NamelessLinesMessage(file_name, file_.Lines);
    if (!nameless.isEmpty()) problems << nameless;
    loadMessage_ = problems.join(QLatin1Char('\n'));
}

void TCameraForm::ReportLoadProblems() {
    if (!loadMessage_.isEmpty()) Tell(loadMessage_);
}

void TCameraForm::Tell(const QString& message) {
    if (host_.ShowMessage) {
        host_.ShowMessage(message);
    } else {
        QMessageBox::warning(this, windowTitle(), message);
    }
}

QString TCameraForm::SelectedName() const {
    const QListWidgetItem* item = SelectListBox->currentItem();
    return item == nullptr ? QString() : item->text().trimmed();
}

void TCameraForm::HandleSelectClick() {
    if (SelectedName().isEmpty()) return;
    SelectButton->setEnabled(true);
    DeleteButton->setEnabled(true);
}

QString TCameraForm::GoSelectItem() {
    const QString name = SelectedName();
    const int row = SelectListBox->currentRow();
    if (name.isEmpty() || row < 0 || static_cast<std::size_t>(row) >= file_.Lines.size()) return name;
    const std::string& line = file_.Lines[static_cast<std::size_t>(row)];
    if (const std::string problem = CameraLineProblem(line); !problem.empty()) {
        Tell(QStringLiteral("Camera position \"%1\" cannot be selected: %2.")
                 .arg(name, QString::fromStdString(problem)));
        return name;
    }
    if (camera_.Set) camera_.Set(*ParseCameraPose(CameraPositionRest(line)));
    return name;
}

void TCameraForm::GoSaveItem() {
    if (!camera_.Get || !AskName) return;
    const std::optional<QString> asked = AskName();
    if (!asked) return;
    const QString name = asked->trimmed();
    if (name.isEmpty() || name.contains(QLatin1String(kCameraSeparator)) || name.contains(QLatin1Char('\n')) ||
        name.contains(QLatin1Char('\r'))) {
        Tell(QStringLiteral("\"%1\" cannot name a camera position: a name is not empty and holds no \":::\" "
                            "and no line break.")
                 .arg(name));
        return;
    }
    const std::string line = name.toLocal8Bit().toStdString() + kCameraSeparator + FormatCameraPose(camera_.Get());
    if (const std::string problem = AppendCameraLine(fileName_.toStdString(), line); !problem.empty()) {
        Tell(QString::fromStdString(problem));
        return;
    }
    GoCreateCameraForm(fileName_);
    SelectListBox->setCurrentRow(SelectListBox->count() - 1);
    HandleSelectClick();
}

void TCameraForm::GoDeleteItem() {
    const int row = SelectListBox->currentRow();
    if (SelectedName().isEmpty() || row < 0 || static_cast<std::size_t>(row) >= file_.Lines.size()) return;
    const auto index = static_cast<std::size_t>(row);
    if (const std::string problem = RemoveCameraLine(fileName_.toStdString(), index, file_.Lines[index]);
        !problem.empty()) {
        Tell(QString::fromStdString(problem));
        return;
    }
    GoCreateCameraForm(fileName_);
}

void TCameraForm::GoCloseCameraForm() {
    if (host_.ResumeSimulation) host_.ResumeSimulation();
    resumed_ = true;
    close();
}

void TCameraForm::closeEvent(QCloseEvent* event) {
    // Closed by the window system rather than the Close button: the run that
    // opening this window interrupted must still go on.
    if (!resumed_ && host_.ResumeSimulation) host_.ResumeSimulation();
    resumed_ = true;
    QWidget::closeEvent(event);
}

}  // namespace zorva
