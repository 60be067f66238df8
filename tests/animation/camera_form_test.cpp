#include "animation/camera_form.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "animation/animation_windows.h"

#include <memory>
#include <optional>

namespace zorva {
namespace {

class CameraFormTest : public ::testing::Test {
protected:
    CameraFormTest() {
        host_.ShowMessage = [this](const QString& message) { messages_ << message; };
    }

    QString WriteFile(const QString& name, const QByteArray& text) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Click(TCameraForm& form, int row) {
        form.SelectListBox->setCurrentRow(row);
        form.HandleSelectClick();
    }

    // A form on the file whose Save and Select act on pose_.
    std::unique_ptr<TCameraForm> Open(const QString& path) {
        auto form = std::make_unique<TCameraForm>(
            host_, path, TCameraAccess{[this] { return pose_; }, [this](const TCameraPose& pose) { pose_ = pose; }});
        form->AskName = [this]() -> std::optional<QString> { return name_; };
        return form;
    }

    QTemporaryDir folder_;
    AnimationHost host_;
    QStringList messages_;
    TCameraPose pose_;
    QString name_;
};

void ExpectSamePose(const TCameraPose& a, const TCameraPose& b) {
    EXPECT_EQ(a.Position.X, b.Position.X);
    EXPECT_EQ(a.Position.Y, b.Position.Y);
    EXPECT_EQ(a.Position.Z, b.Position.Z);
    EXPECT_EQ(a.AnglesDegrees, b.AnglesDegrees);
}

TEST_F(CameraFormTest, ListsTheNamesAndKeepsEveryLine) {
    const QString path =
        WriteFile(QStringLiteral("sim.cam"), "Harbour:::0 1 10\r\nno separator\n:::leading\n  Gate  :::1 2 3\n");
    TCameraForm form(host_, path);
    ASSERT_EQ(form.SelectListBox->count(), 4);
    EXPECT_EQ(form.SelectListBox->item(0)->text(), QStringLiteral("Harbour"));
    EXPECT_EQ(form.SelectListBox->item(1)->text(), QString());
    EXPECT_EQ(form.SelectListBox->item(2)->text(), QString());
    EXPECT_EQ(form.Lines(),
              (std::vector<std::string>{"Harbour:::0 1 10", "no separator", ":::leading", "  Gate  :::1 2 3"}));
    // The nameless line without a separator is pointed out.
    EXPECT_TRUE(form.LoadMessage().contains(QStringLiteral("line(s) 2 "))) << form.LoadMessage().toStdString();
}

TEST_F(CameraFormTest, OnlyANamedEntryEnablesSelectAndDelete) {
    TCameraForm form(host_, WriteFile(QStringLiteral("a.cam"), ":::x\n  Gate  :::1 2 3\nbroken\n"));
    EXPECT_FALSE(form.SelectButton->isEnabled());
    EXPECT_FALSE(form.DeleteButton->isEnabled());
    Click(form, 0);
    Click(form, 2);
    EXPECT_FALSE(form.SelectButton->isEnabled());
    EXPECT_FALSE(form.DeleteButton->isEnabled());
    Click(form, 1);
    EXPECT_TRUE(form.SelectButton->isEnabled());
    EXPECT_TRUE(form.DeleteButton->isEnabled());
    EXPECT_EQ(form.GoSelectItem(), QStringLiteral("Gate"));
}

TEST_F(CameraFormTest, SavedPositionReadBackAndSelectedGivesTheSameCameraAndOtherLinesStay) {
    const QByteArray before = "Top:::0 9 -21 -90 0 0\r\nnotes, not a position\nOdd:::1 2 3\n";
    const QString path = WriteFile(QStringLiteral("round.cam"), before);
    const TCameraPose saved{{0.1f, -2.5f, 7.25f}, {-33.3f, 12.5f, 0.0f}};
    pose_ = saved;
    name_ = QStringLiteral("Quay");
    Open(path)->GoSaveItem();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
    EXPECT_EQ(Contents(path), before + "Quay:::0.1 -2.5 7.25 -33.3 12.5 0\n");

    pose_ = {};
    const auto reopened = Open(path);
    ASSERT_EQ(reopened->SelectListBox->count(), 4);
    Click(*reopened, 3);
    EXPECT_EQ(reopened->GoSelectItem(), QStringLiteral("Quay"));
    ExpectSamePose(pose_, saved);

    // Deleting one line leaves every other byte as it was.
    Click(*reopened, 2);
    reopened->GoDeleteItem();
    EXPECT_EQ(Contents(path), "Top:::0 9 -21 -90 0 0\r\nnotes, not a position\nQuay:::0.1 -2.5 7.25 -33.3 12.5 0\n");
    EXPECT_EQ(reopened->SelectListBox->count(), 3);
}

TEST_F(CameraFormTest, ALineWithoutSixNumbersIsListedButSelectingItSaysWhyAndMovesNothing) {
    const auto form = Open(WriteFile(QStringLiteral("odd.cam"), "Odd:::1 2 3\n"));
    pose_ = {{1.0f, 2.0f, 3.0f}, {4.0f, 5.0f, 6.0f}};
    Click(*form, 0);
    EXPECT_EQ(form->GoSelectItem(), QStringLiteral("Odd"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains(QStringLiteral("\"Odd\" cannot be selected"))) << messages_[0].toStdString();
    EXPECT_TRUE(messages_[0].contains(QStringLiteral("not six numbers"))) << messages_[0].toStdString();
    ExpectSamePose(pose_, {{1.0f, 2.0f, 3.0f}, {4.0f, 5.0f, 6.0f}});
}

TEST_F(CameraFormTest, AReadOnlyFileIsLeftAsItWasWithAMessage) {
    const QByteArray before = "Top:::0 9 -21 -90 0 0\nSide:::1 2 3 4 5 6\n";
    const QString path = WriteFile(QStringLiteral("locked.cam"), before);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const auto form = Open(path);
    name_ = QStringLiteral("New");
    form->GoSaveItem();
    Click(*form, 1);
    form->GoDeleteItem();
    ASSERT_EQ(messages_.size(), 2);
    for (const QString& message : messages_) {
        EXPECT_TRUE(message.contains(QStringLiteral("read-only"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("unchanged"))) << message.toStdString();
    }
    EXPECT_EQ(Contents(path), before);
    EXPECT_EQ(form->SelectListBox->count(), 2);
}

TEST_F(CameraFormTest, MissingFileLeavesAnEmptyListWithoutComplaint) {
    TCameraForm form(host_, folder_.filePath(QStringLiteral("none.cam")));
    EXPECT_EQ(form.SelectListBox->count(), 0);
    EXPECT_TRUE(form.LoadMessage().isEmpty());
    Click(form, 0);
    EXPECT_FALSE(form.SelectButton->isEnabled());
}

TEST_F(CameraFormTest, UnreadableFileIsReportedThroughTheHost) {
    QStringList shown;
    host_.ShowMessage = [&shown](const QString& message) { shown << message; };
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("folder.cam")));
    TCameraForm form(host_, folder_.filePath(QStringLiteral("folder.cam")));
    form.ReportLoadProblems();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("folder.cam")));
    EXPECT_EQ(form.SelectListBox->count(), 0);
}

TEST_F(CameraFormTest, AnimationWindowOpensTheFileNamedAfterTheProgramInTheWorkingFolder) {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    WriteFile(program + QStringLiteral(".cam"), "Top view:::0 20 0\n");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    TAnimationWindows windows{AnimationHost{}};
    windows.ApplyAnimationSetting(true);
    TCameraForm* camera = windows.Form()->OpenCameraForm();
    QDir::setCurrent(previous);
    ASSERT_EQ(camera->SelectListBox->count(), 1);
    EXPECT_EQ(camera->SelectListBox->item(0)->text(), QStringLiteral("Top view"));
    camera->GoCloseCameraForm();
}

TEST_F(CameraFormTest, ClosedAnyWayItResumesTheRunOnce) {
    int resumes = 0;
    host_.ResumeSimulation = [&resumes] { ++resumes; };
    TCameraForm by_button(host_, folder_.filePath(QStringLiteral("none.cam")));
    by_button.show();
    by_button.GoCloseCameraForm();
    EXPECT_EQ(resumes, 1);
    EXPECT_FALSE(by_button.isVisible());
    TCameraForm by_system(host_, folder_.filePath(QStringLiteral("none.cam")));
    by_system.show();
    by_system.close();
    EXPECT_EQ(resumes, 2);
}

}  // namespace
}  // namespace zorva
