#include "waterway_programs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace zorva::testing {
namespace {

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

bool Running(const QProcess& p) {
    return p.state() != QProcess::NotRunning;
}

}  // namespace

std::vector<std::string> HandOvers(const std::string& serverOutput, const std::string& peer) {
    const std::regex received(R"(^<- \d+ \$\$(?:toclient: |send:[0-9.]+!!))" + peer + "!!(.*)$");
    std::vector<std::string> texts;
    std::istringstream lines(serverOutput);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, received)) texts.push_back(m[1]);
    }
    return texts;
}

Waterway::Waterway() {
    QRandomGenerator& random = *QRandomGenerator::global();
    address_ =
        QString("127.%1.%2.%3").arg(random.bounded(1, 255)).arg(random.bounded(0, 256)).arg(random.bounded(1, 255));
    for (QProcess* p : {&server_, &west_, &east_}) {
        p->setWorkingDirectory(folder_.path());
        p->setProcessChannelMode(QProcess::MergedChannels);
    }
}

// Whatever a test left running is stopped: no process outlives its test.
Waterway::~Waterway() {
    for (QProcess* p : {&west_, &east_, &server_}) {
        if (!Running(*p)) continue;
        p->kill();
        p->waitForFinished(3000);
    }
}

bool Waterway::Start(double until, const std::map<std::string, QStringList>& extra) {
    server_.start(ZORVA_SERVER_EXECUTABLE,
                  {"--bind", address_, "--until", QString::number(until, 'f', 2), "--verbose"});
    if (!server_.waitForStarted(5000)) return false;
    // The server says where it listens once it does.
    if (!WaitFor([this] { return server_.canReadLine() || !Running(server_); }, 5000) || !Running(server_))
        return false;
    const auto options = [&extra](const std::string& model) {
        const auto found = extra.find(model);
        return found == extra.end() ? QStringList() : found->second;
    };
    StartProgram(west_, OBRIMWEST_EXECUTABLE, "west", options("west"));
    StartProgram(east_, OBRIMEAST_EXECUTABLE, "east", options("east"));
    return west_.waitForStarted(5000) && east_.waitForStarted(5000);
}

void Waterway::StartProgram(QProcess& process, const char* executable, const std::string& model,
                            const QStringList& extra) {
    const QString name = QString::fromStdString(model);
    process.start(executable, QStringList{"--headless", "--server", address_, "--start", "--exit-at-end",
                                          "--trace-file", name + ".trace", "--report", name + ".json"} +
                                  extra);
}

bool Waterway::WaitForAll(int ms) {
    return WaitFor([this] { return !Running(server_) && !Running(west_) && !Running(east_); }, ms);
}

bool Waterway::WaitUntilTraced(const std::string& model, double time, int ms) {
    return WaitFor(
        [&] {
            const auto entries = Trace(model);
            return !Running(Program(model)) || (!entries.empty() && entries.back().Time >= time);
        },
        ms);
}

std::string Waterway::File(const std::string& name) const {
    return folder_.filePath(QString::fromStdString(name)).toStdString();
}

// File lines begin with the time of day and "/", the model's own lines
// without; lines of the window (connection states) carry no clock.
std::vector<TraceEntry> Waterway::Trace(const std::string& model) const {
    static const std::regex line(R"(^(?:\d\d:\d\d:\d\d/)?\s*(\d+\.\d\d) +(\S+) +(.*)$)");
    std::vector<TraceEntry> entries;
    std::ifstream file(File(model + ".trace"));
    for (std::string text; std::getline(file, text);) {
        std::smatch m;
        if (std::regex_match(text, m, line)) entries.push_back({std::stod(m[1]), m[2], m[3]});
    }
    return entries;
}

double Waterway::Reported(const std::string& model, const std::string& key, bool figure) const {
    QFile file(QString::fromStdString(File(model + ".json")));
    if (!file.open(QIODevice::ReadOnly)) return -1.0;
    QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
    if (figure) report = report.value("figures").toObject();
    return report.value(QString::fromStdString(key)).toDouble(-1.0);
}

const std::string& Waterway::ServerOutput() {
    serverOutput_ += server_.readAll().toStdString();
    return serverOutput_;
}

}  // namespace zorva::testing
