#pragma once
// The real programs: zorva-server and both lock programs, each a process of
// its own in a fresh folder, on a loopback address of their own so that
// they meet nobody else's server on the fixed port.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <string>
#include <vector>

namespace zorva::testing {

// One trace line: the clock, the element (or first word) and the rest.
struct TraceEntry {
    double Time;
    std::string Name;
    std::string Event;
};

// The hand-over texts to the peer, in the order the server received them:
// "ShipL4!!23.68!!174.41" from its "<- 3 $$toclient: brimeast!!ShipL4!!23.68!!174.41"
// or, from a model running ahead, "<- 3 $$send:154.41!!brimeast!!ShipL4!!23.68!!174.41".
std::vector<std::string> HandOvers(const std::string& serverOutput, const std::string& peer);

class Waterway {
public:
    // On a loopback address of its own, picked at random, so that runs of
    // other builds' tests at the same moment do not meet it.
    Waterway();
    ~Waterway();

    // Starts the server with --until and --verbose, then both programs,
    // headless, started and ending with the run, each also given its
    // options in `extra` ("west", "east"); false if any of them does not
    // start.
    bool Start(double until, const std::map<std::string, QStringList>& extra = {});
    // Waits until each of the three has ended; false when the time is up.
    bool WaitForAll(int ms);
    // Waits until the program's trace has reached the time.
    bool WaitUntilTraced(const std::string& model, double time, int ms);

    QProcess& Server() { return server_; }
    QProcess& Program(const std::string& model) { return model == "west" ? west_ : east_; }
    std::string File(const std::string& name) const;
    std::vector<TraceEntry> Trace(const std::string& model) const;
    // A value in the program's report ("clock", or a figure's name with
    // figure set), or -1 without a report or that value.
    double Reported(const std::string& model, const std::string& key, bool figure = false) const;
    // What the server has printed so far: with --verbose every line it
    // received, as "<- CONNECTION LINE".
    const std::string& ServerOutput();
    // The address the programs connect to, without the port.
    std::string ServerAddress() const { return address_.toStdString(); }

private:
    void StartProgram(QProcess& process, const char* executable, const std::string& model, const QStringList& extra);

    QString address_;
    std::string serverOutput_;
    QTemporaryDir folder_;
    QProcess server_;
    QProcess west_;
    QProcess east_;
};

}  // namespace zorva::testing
