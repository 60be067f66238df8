#include "animation/camera_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zorva {
namespace {

TEST(CameraFileName, ProgramNameWithoutFolderAndLastExtension) {
    EXPECT_EQ(CameraFileName("C:\\Models\\sim.test.exe"), "sim.test.cam");
    EXPECT_EQ(CameraFileName("/opt/zorva/bin/sim.test.exe"), "sim.test.cam");
    EXPECT_EQ(CameraFileName("/opt/zorva/obrimwest"), "obrimwest.cam");
    EXPECT_EQ(CameraFileName("D:obrimeast.exe"), "obrimeast.cam");
    // A dot in a folder is not an extension.
    EXPECT_EQ(CameraFileName("/home/a.b/obrimwest"), "obrimwest.cam");
}

TEST(CameraFileToUse, WorkingFolderFirstThenTheInstalledFile) {
    namespace fs = std::filesystem;
    const fs::path prefix = fs::path(testing::TempDir()) / "camera_prefix";
    fs::remove_all(prefix);
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/zorva");
    const std::string program = (prefix / "bin/zorva_cam_model").string();
    const std::string installed = (prefix / "share/zorva/zorva_cam_model.cam").string();
    EXPECT_EQ(CameraFileToUse(program, "../share/zorva"), "zorva_cam_model.cam");
    std::ofstream(installed) << "Top:::1\n";
    EXPECT_EQ(CameraFileToUse(program, "../share/zorva"), installed);
    std::ofstream("zorva_cam_model.cam") << "Mine:::1\n";
    EXPECT_EQ(CameraFileToUse(program, "../share/zorva"), "zorva_cam_model.cam");
    fs::remove("zorva_cam_model.cam");
    fs::remove_all(prefix);
}

TEST(CameraPositionName, TextBeforeTheFirstSeparator) {
    EXPECT_EQ(CameraPositionName("Harbour:::1;2;3"), "Harbour");
    EXPECT_EQ(CameraPositionName("Lock gate:::a:::b"), "Lock gate");
    EXPECT_EQ(CameraPositionName("no separator here"), "");
    EXPECT_EQ(CameraPositionName(":::leading"), "");
    EXPECT_EQ(CameraPositionName("Only::two colons"), "");
    EXPECT_EQ(CameraPositionName(""), "");
}

TEST(ReadCameraLines, KeepsEveryLineAndDropsCarriageReturns) {
    std::istringstream in("Top:::0 10 0\r\nbroken line\n:::x\nSide:::\n");
    TCameraFile file;
    ReadCameraLines(in, file);
    EXPECT_EQ(file.Lines, (std::vector<std::string>{"Top:::0 10 0", "broken line", ":::x", "Side:::"}));
    EXPECT_EQ(file.Names, (std::vector<std::string>{"Top", "", "", "Side"}));
}

TEST(LoadCameraFile, MissingFileGivesAnEmptyListAndNoMessage) {
    const TCameraFile file = LoadCameraFile("/nonexistent-folder-zorva/none.cam");
    EXPECT_TRUE(file.Lines.empty());
    EXPECT_TRUE(file.Message.empty());
}

TEST(LoadCameraFile, AFolderInPlaceOfTheFileIsReportedNotFatal) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zorva_cam_folder.cam";
    std::filesystem::create_directories(folder);
    const TCameraFile file = LoadCameraFile(folder.string());
    std::filesystem::remove(folder);
    EXPECT_TRUE(file.Lines.empty());
    EXPECT_NE(file.Message.find("zorva_cam_folder.cam"), std::string::npos) << file.Message;
}

TEST(LoadCameraFile, OnlyARegularFileOfAtMostOneMebibyteIsRead) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zorva_cam_kinds";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string pipe = (folder / "pipe.cam").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // opening it would wait for a writer
    const std::filesystem::path endless = folder / "endless.cam";
    std::filesystem::create_symlink("/dev/zero", endless);
    const std::filesystem::path large = folder / "large.cam";
    std::ofstream(large) << std::string(kMaxCameraFileBytes, 'x') << '\n';
    const std::string refusals[] = {LoadCameraFile(pipe).Message, LoadCameraFile(endless.string()).Message,
                                    LoadCameraFile(large.string()).Message};
    std::filesystem::remove_all(folder);
    EXPECT_EQ(refusals[0], "Cannot read camera positions from \"" + pipe + "\": it is not a regular file");
    EXPECT_NE(refusals[1].find("endless.cam\": it is not a regular file"), std::string::npos) << refusals[1];
    EXPECT_NE(refusals[2].find("large.cam\": it is larger than 1 MiB"), std::string::npos) << refusals[2];
}

}  // namespace
}  // namespace zorva
