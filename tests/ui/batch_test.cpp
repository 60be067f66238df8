// The command line of a model program: parsing, and the test model's
// program run headless end to end with its exit codes.
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include "scripted_server.h"
#include "ui/batch_options.h"
#include "ui/exit_codes.h"
#include "ui_test_support.h"
#include "zorva/version.h"

namespace zorva::uitest {
namespace {

TEST(BatchOptionsTest, ReadsEveryOptionInBothForms) {
    const auto parsed =
        ParseBatchOptions({"--headless", "--server", "none", "--start", "--exit-at-end", "--stop-time=12.5",
                           "--trace-file", "t.txt", "--message-log", "--report=r.json", "--animation",
                           "--camera=Top view", "--snapshot", "5:a.png", "--snapshot=7.5:b:c.PNG"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    const BatchOptions& o = *parsed.Options;
    EXPECT_TRUE(o.Headless && o.Start && o.ExitAtEnd && o.MessageLog && !o.Help);
    EXPECT_EQ(o.Server, "none");
    EXPECT_EQ(o.StopTime, 12.5);
    EXPECT_EQ(o.TraceFile, "t.txt");
    EXPECT_EQ(o.Report, "r.json");
    EXPECT_TRUE(o.Animation);
    EXPECT_EQ(o.Camera, "Top view");
    ASSERT_EQ(o.Snapshots.size(), 2u);
    EXPECT_EQ(o.Snapshots[0].Time, 5.0);
    EXPECT_EQ(o.Snapshots[0].File, "a.png");
    EXPECT_EQ(o.Snapshots[1].Time, 7.5);
    EXPECT_EQ(o.Snapshots[1].File, "b:c.PNG");
    EXPECT_TRUE(ParseBatchOptions({}).Options);
    EXPECT_TRUE(ParseBatchOptions({"--version"}).Options->Version);
}

TEST(BatchOptionsTest, RefusesWhatItDoesNotKnowWithAClearMessage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"start"}, "unknown option 'start'"},
        {{"--server"}, "--server needs a value"},
        {{"--server", "--start"}, "--server needs a value"},
        {{"--report="}, "--report needs a value"},
        {{"--start=yes"}, "--start takes no value"},
        {{"--stop-time", "abc"}, "--stop-time needs a time of 0 or more such as 100.00, not 'abc'"},
        {{"--stop-time", "-1"}, "--stop-time needs a time of 0 or more such as 100.00, not '-1'"},
        {{"--stop-time", "1,5"}, "--stop-time needs a time of 0 or more such as 100.00, not '1,5'"},
    };
    for (const char* snapshot : {"500", "x:a.png", "-1:a.png", "5:a.jpg", "5:.png", ":a.png"}) {
        const auto parsed = ParseBatchOptions({"--snapshot", snapshot});
        EXPECT_FALSE(parsed.Options) << snapshot;
        EXPECT_EQ(parsed.Error, "--snapshot needs TIME:FILE.png with a time of 0 or more, such as 500:west.png, not '" +
                                    std::string(snapshot) + "'");
    }
    for (const auto& [arguments, error] : cases) {
        const auto parsed = ParseBatchOptions(arguments);
        EXPECT_FALSE(parsed.Options) << arguments[0];
        EXPECT_EQ(parsed.Error, error);
    }
}

#ifdef UI_TEST_MODEL_EXECUTABLE

struct Outcome {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

class BatchProgramTest : public ::testing::Test {
protected:
    Outcome Run(const QStringList& arguments, const QProcessEnvironment& extra = {}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        for (const QString& key : extra.keys()) environment.insert(key, extra.value(key));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir_.path());
        program.start(UI_TEST_MODEL_EXECUTABLE, arguments);
        EXPECT_TRUE(program.waitForStarted(5000));
        if (!program.waitForFinished(20000)) program.kill();
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                program.readAllStandardOutput().toStdString(), program.readAllStandardError().toStdString()};
    }
    QString Path(const char* name) const { return dir_.filePath(name); }
    QJsonObject ReadReport(const char* name) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).object();
    }
    static const QStringList kRunToTen;
    QTemporaryDir dir_;
};

const QStringList BatchProgramTest::kRunToTen = {"--headless",    "--server",    "NONE", "--start",
                                                 "--exit-at-end", "--stop-time", "10"};

TEST_F(BatchProgramTest, HeadlessRunWritesTheReportAndEndsWithZero) {
    const Outcome outcome = Run(kRunToTen + QStringList{"--report", "report.json"});
    ASSERT_EQ(outcome.ExitCode, 0) << outcome.Err;
    const QJsonObject report = ReadReport("report.json");
    EXPECT_EQ(report["model"].toString(), "ui_test_model");
    EXPECT_EQ(report["version"].toString(), ZORVA_VERSION);
    EXPECT_EQ(report["clock"].toDouble(), 10.0);
    const QJsonArray queues = report["queues"].toArray();
    ASSERT_EQ(queues.size(), 2);
    const QJsonObject line = queues[0].toObject();
    EXPECT_EQ(line["name"].toString(), "Line");
    EXPECT_EQ(line["length"].toInt(), 0);
    EXPECT_NEAR(line["avgLength"].toDouble(), 5.0 / 9.0, 1e-12);
    EXPECT_EQ(line["maxLength"].toInt(), 1);
    EXPECT_EQ(line["totalPassed"].toInt(), 5);
    EXPECT_EQ(line["direct"].toInt(), 0);
    EXPECT_EQ(line["avgWaitingTime"].toDouble(), 1.0);
    EXPECT_EQ(line["maxWaitingTime"].toDouble(), 1.0);
    const QJsonObject desk = queues[1].toObject();
    EXPECT_EQ(desk["name"].toString(), "Desk");
    EXPECT_EQ(desk["totalPassed"].toInt(), 5);
    EXPECT_EQ(desk["direct"].toInt(), 5);
    EXPECT_EQ(desk["avgWaitingTime"].toDouble(), 0.0);
}

TEST_F(BatchProgramTest, TraceFileAndMessageLogActAsTheSettingsDo) {
    const Outcome outcome = Run(kRunToTen + QStringList{"--trace-file", "run.trace", "--message-log"});
    ASSERT_EQ(outcome.ExitCode, 0) << outcome.Err;
    QFile trace(Path("run.trace"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(trace.readAll());
    EXPECT_TRUE(text.contains("        8.00 Customer5 to tail of Line")) << text.toStdString();
    EXPECT_TRUE(text.contains("  Generator is current now"));
    QFile log(Path("ui_test_model.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().startsWith("***0.00 start logging"));
}

TEST_F(BatchProgramTest, BadCommandLinesEndWithTwo) {
    for (const QStringList& arguments :
         {QStringList{"--bogus"}, QStringList{"--headless", "--stop-time", "x"}, QStringList{"--server"}}) {
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(outcome.ExitCode, kExitBadCommandLine) << arguments.join(' ').toStdString();
        EXPECT_NE(outcome.Err.find("Try 'ui_test_model --help'."), std::string::npos) << outcome.Err;
    }
    const Outcome noCamera = Run(kRunToTen + QStringList{"--camera", "Top"});
    EXPECT_EQ(noCamera.ExitCode, kExitBadCommandLine);
    EXPECT_NE(noCamera.Err.find("ui_test_model: --camera Top: no camera positions in ui_test_model.cam"),
              std::string::npos)
        << noCamera.Err;
    const Outcome unopenable = Run(kRunToTen + QStringList{"--trace-file", "missing-dir/run.trace"});
    EXPECT_EQ(unopenable.ExitCode, kExitBadCommandLine);
    EXPECT_NE(unopenable.Err.find("Error opening file missing-dir/run.trace"), std::string::npos) << unopenable.Err;
}

TEST_F(BatchProgramTest, HelpListsTheOptionsAndExitCodesAndEndsWithZero) {
    const Outcome outcome = Run({"--help"});
    EXPECT_EQ(outcome.ExitCode, kExitNormal);
    for (const char* option :
         {"--headless", "--server ADDRESS", "--start", "--exit-at-end", "--stop-time T", "--trace-file FILE",
          "--message-log", "--report FILE", "--animation", "--camera NAME", "--snapshot T:F.png", "--help"})
        EXPECT_NE(outcome.Out.find(option), std::string::npos) << option;
    for (const ExitCodeMeaning& exit : kExitCodeMeanings)
        EXPECT_NE(outcome.Out.find(std::to_string(exit.Code) + "  " + exit.Meaning + "\n"), std::string::npos)
            << exit.Meaning;
}

TEST_F(BatchProgramTest, VersionNamesTheProgramAndEndsWithZero) {
    const Outcome outcome = Run({"--version"});
    EXPECT_EQ(outcome.ExitCode, kExitNormal);
    EXPECT_EQ(outcome.Out, "ui_test_model " ZORVA_VERSION "\n");
}

TEST_F(BatchProgramTest, FatalErrorGoesToStandardErrorAndEndsWith255) {
    QProcessEnvironment fatal;
    fatal.insert("ZORVA_TEST_FATAL", "1");
    // The program ends from inside the model's initialisation, without
    // freeing what the font library holds; that is no leak of ours.
    fatal.insert("LSAN_OPTIONS", "detect_leaks=0");
    const Outcome outcome = Run(kRunToTen, fatal);
    EXPECT_EQ(outcome.ExitCode, kExitFatal);
    EXPECT_NE(outcome.Err.find("Error: Error(Hold): no current Element"), std::string::npos) << outcome.Err;
}

TEST_F(BatchProgramTest, UnwritableReportOrTraceFileEndsWithOne) {
    const Outcome report = Run(kRunToTen + QStringList{"--report", "missing-dir/report.json"});
    EXPECT_EQ(report.ExitCode, kExitOutputFailed);
    EXPECT_NE(report.Err.find("Error writing report missing-dir/report.json"), std::string::npos) << report.Err;
    // Opens as any file does, then every line fails as on a full disk.
    const Outcome trace = Run(kRunToTen + QStringList{"--trace-file", "/dev/full"});
    EXPECT_EQ(trace.ExitCode, kExitOutputFailed);
    EXPECT_NE(trace.Err.find("Error writing trace file /dev/full"), std::string::npos) << trace.Err;
}

TEST_F(BatchProgramTest, SnapshotsAreWrittenAndThoseThatAreNotEndTheRunWithOne) {
    QFile cam(Path("ui_test_model.cam"));
    ASSERT_TRUE(cam.open(QIODevice::WriteOnly));
    cam.write("Top:::0 20 0 -90 0 0\n");
    cam.close();
    const Outcome outcome = Run(kRunToTen + QStringList{"--camera", "Top", "--snapshot", "5:five.png", "--snapshot",
                                                        "20:late.png", "--snapshot", "3:missing-dir/three.png"});
    EXPECT_EQ(outcome.ExitCode, kExitOutputFailed) << outcome.Err;
    EXPECT_EQ(QImage(Path("five.png")).size(), QSize(803, 480));
    EXPECT_NE(outcome.Err.find("no frame at 20.00 for late.png: the run ended at 10.00"), std::string::npos)
        << outcome.Err;
    EXPECT_NE(outcome.Err.find("cannot write the frame at 3.00 to missing-dir/three.png"), std::string::npos)
        << outcome.Err;
}

TEST_F(BatchProgramTest, UnreachableServerIsNamedOnStandardErrorAndEndsWithItsCode) {
    std::uint16_t port = 0;
    {
        QTcpServer probe;  // closed again at once: nothing listens on its port
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    QProcessEnvironment environment;
    environment.insert("ZORVA_TEST_PORT", QString::number(port));
    const Outcome outcome = Run({"--headless", "--server", "127.0.0.1", "--start", "--exit-at-end"}, environment);
    EXPECT_EQ(outcome.ExitCode, kExitNoServer);
    const std::string line =
        "ui_test_model: could not connect to the message server at 127.0.0.1:" + std::to_string(port) +
        ": Connection refused\n";
    EXPECT_NE(outcome.Err.find(line), std::string::npos) << outcome.Err;
}

TEST_F(BatchProgramTest, RunAgainstAScriptedServerGivenOnTheCommandLine) {
    zorva::testing::ScriptedServer server;
    server.SetScript(&zorva::testing::ScriptedServer::GrantAll);
    QProcessEnvironment port;
    port.insert("ZORVA_TEST_PORT", QString::number(server.Port()));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZORVA_TEST_PORT", QString::number(server.Port()));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(dir_.path());
    program.start(UI_TEST_MODEL_EXECUTABLE, {"--headless", "--server", "127.0.0.1", "--start", "--exit-at-end",
                                             "--stop-time", "10", "--report", "connected.json"});
    ASSERT_TRUE(program.waitForStarted(5000));
    // The server lives in this process: its events are processed here.
    ASSERT_TRUE(zorva::testing::PumpUntil([&] { return program.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(server.Lines().front(), "$$name:ui_test_model");
    EXPECT_EQ(ReadReport("connected.json")["clock"].toDouble(), 10.0);
}

#endif

}  // namespace
}  // namespace zorva::uitest
