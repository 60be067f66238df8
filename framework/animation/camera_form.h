#pragma once

// The camera-positions window: lists the names of the positions stored in the
// program's ".cam" file. Select moves the animation window's camera to the
// chosen position, Save adds the camera's present position under a new name
// at the end of the file, Delete takes the chosen line out of it. Closing the
// window resumes the run that opening it interrupted.

#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "animation/animation_host.h"
#include "animation/camera_file.h"
#include "animation/camera_keys.h"

namespace zorva {

// The camera that Save reads and Select moves.
struct TCameraAccess {
    std::function<TCameraPose()> Get;
    std::function<void(const TCameraPose&)> Set;
};

class TCameraForm : public QWidget {
    Q_OBJECT

public:
    // file_name is opened relative to the current working folder.
    TCameraForm(AnimationHost& host, const QString& file_name, TCameraAccess camera = {}, QWidget* parent = nullptr);

    // Every line of the file in file order, names and remainders alike.
    const std::vector<std::string>& Lines() const { return file_.Lines; }
    // Read failures and nameless lines, empty when there were none.
    const QString& LoadMessage() const { return loadMessage_; }
    // Hands LoadMessage to the host, when there is one.
    void ReportLoadProblems();

    void HandleSelectClick();
    // Moves the camera to the chosen position and returns its name; a line
    // that holds no position says so instead.
    QString GoSelectItem();
    void GoSaveItem();
    void GoDeleteItem();
    void GoCloseCameraForm();

    // Asks for the name under which Save stores the camera; nothing when the
    // user cancels. A dialog unless replaced.
    std::function<std::optional<QString>()> AskName;

    QPushButton* SaveButton = nullptr;
    QPushButton* SelectButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QListWidget* SelectListBox = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void GoCreateCameraForm(const QString& file_name);
    QString SelectedName() const;
    void Tell(const QString& message);

    AnimationHost& host_;
    QString fileName_;
    TCameraAccess camera_;
    TCameraFile file_;
    QString loadMessage_;
    bool resumed_ = false;
};

}  // namespace zorva
