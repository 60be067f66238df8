#include "animation/camera_form.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "animation/animation_windows.h"

namespace zorva {
namespace {

class CameraFormTest : public ::testing::Test {
protected:
    QString WriteFile(const QString& name, const QByteArray& text) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    void Click(TCameraForm& form, int row) {
        form.SelectListBox->setCurrentRow(row);
        form.HandleSelectClick();
    }

    QTemporaryDir folder_;
    AnimationHost host_;
};

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
