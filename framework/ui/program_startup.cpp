#include "ui/program_startup.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "animation/camera_file.h"
#include "animation/camera_positions.h"
#include "connection/messaging.h"
#include "engine/engine.h"
#include "ui/batch_options.h"
#include "ui/batch_report.h"
#include "ui/exit_codes.h"
#include "ui/framework_setup.h"
#include "ui/message_boxes.h"
#include "ui/run_outcome.h"
#include "ui/zorva_form.h"
#include "wire/protocol.h"
#include "zorva/version.h"

namespace zorva {
namespace {

std::string ProgramFileName(int argc, char** argv) {
    if (argc < 1 || !argv[0]) return "zorva";
    return std::filesystem::path(argv[0]).filename().string();
}

// The named position of the program's camera file, as the camera-positions
// window finds the file. False, after saying why, when there is none.
bool ChooseCamera(TZorvaForm& form, const std::string& name, const std::string& program) {
    const std::string file_name = CameraFileToUse(QCoreApplication::applicationFilePath().toStdString());
    const TCameraChoice choice = FindCameraPosition(LoadCameraFile(file_name), file_name, name);
    if (!choice.Pose) {
        std::fprintf(stderr, "%s: --camera %s: %s\n", program.c_str(), name.c_str(), choice.Message.c_str());
        return false;
    }
    form.AnimationWindows().SetCamera(*choice.Pose);
    return true;
}

// The options act through the window's own operations, in the order in
// which OK in the settings panel applies them. False when one was refused.
bool ApplyBatchOptions(TZorvaForm& form, const BatchOptions& options, const std::string& program) {
    if (options.Server) form.ApplyServerAddress(std::string(Trim(*options.Server)));
    if (options.TraceFile) {
        form.ApplyOutput(*options.TraceFile);
        if (form.OutputName() != *options.TraceFile) return false;
    }
    if (options.Animation) form.ApplyAnimationSetting(true);
    if (options.MessageLog) form.ApplyMessageLog(true);
    if (options.Camera && !ChooseCamera(form, *options.Camera, program)) return false;
    for (const TSnapshotRequest& snapshot : options.Snapshots) form.AnimationWindows().Snapshots().Add(snapshot);
    if (options.StopTime) SetStopTime(*options.StopTime);
    if (options.Lookahead) SetLookahead(*options.Lookahead);
    return true;
}

// What happens when the run has ended: the report, what went wrong and
// the program's exit code, and the end of the program if it was asked for.
void ArrangeRunEnd(TZorvaForm& form, const BatchOptions& options, const std::string& program, int& runEndCode) {
    form.SetRunEndedHook([&form, options, program, &runEndCode] {
        const bool reportFailed = options.Report && !WriteRunReport(*options.Report);
        if (reportFailed) ShowBox(BoxKind::Warning, "Error writing report " + *options.Report);
        const std::vector<std::string> snapshots = form.AnimationWindows().Snapshots().Problems(SimTime());
        for (const std::string& problem : snapshots) ShowBox(BoxKind::Warning, "Snapshot: " + problem);
        runEndCode = ReportRunOutcome(program, reportFailed || !snapshots.empty());
        if (options.ExitAtEnd) form.close();
    });
}

}  // namespace

int RunZorvaProgram(int argc, char** argv, const ModelInitialisation& initModel) {
    const std::string program = ProgramFileName(argc, argv);
    const ParsedBatchOptions parsed =
        ParseBatchOptions(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (!parsed.Options) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(), parsed.Error.c_str(), program.c_str());
        return kExitBadCommandLine;
    }
    const BatchOptions& options = *parsed.Options;
    if (options.Help) {
        std::fputs(BatchUsage(program).c_str(), stdout);
        return kExitNormal;
    }
    if (options.Version) {
        std::printf("%s %s\n", program.c_str(), kZorvaVersion);
        return kExitNormal;
    }
    if (options.Headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        SendBoxesToStandardError();
    }
    // Qt sees no options: the command line is the model program's alone.
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("zorva"), nullptr};
    QApplication app(qtArgc, qtArgv);

    std::unique_ptr<TZorvaForm> form = StartFramework();
    form->show();
    // The space key breaks a run only while the window itself has the focus.
    form->setFocus();
    if (initModel) initModel();
    if (!ApplyBatchOptions(*form, options, program)) {
        StopFramework();
        return kExitBadCommandLine;
    }
    int runEndCode = kExitNormal;
    ArrangeRunEnd(*form, options, program, runEndCode);
    form->SetClosedHook([] { QCoreApplication::exit(0); });
    if (options.Start) QTimer::singleShot(0, form.get(), [f = form.get()] { f->StartItem()->trigger(); });

    const int code = app.exec();
    StopFramework();
    form.reset();
    return runEndCode != kExitNormal ? runEndCode : code;
}

}  // namespace zorva
