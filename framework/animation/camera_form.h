#pragma once

// The camera-positions window: lists the names of the positions stored in the
// program's ".cam" file. Selecting only reads a name; Save and Delete have no
// action yet. Closing it resumes the run that opening it interrupted.

#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "animation/animation_host.h"
#include "animation/camera_file.h"

namespace zorva {

class TCameraForm : public QWidget {
    Q_OBJECT

public:
    // file_name is opened relative to the current working folder.
    TCameraForm(AnimationHost& host, const QString& file_name, QWidget* parent = nullptr);

    // Every line of the file in file order, names and remainders alike.
    const std::vector<std::string>& Lines() const { return file_.Lines; }
    // Read failures and nameless lines, empty when there were none.
    const QString& LoadMessage() const { return loadMessage_; }
    // Hands LoadMessage to the host, when there is one.
    void ReportLoadProblems();

    void HandleSelectClick();
    QString GoSelectItem();
    void GoCloseCameraForm();

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

    AnimationHost& host_;
    TCameraFile file_;
    QString loadMessage_;
    bool resumed_ = false;
};

}  // namespace zorva
