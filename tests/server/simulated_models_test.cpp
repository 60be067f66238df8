// Ten scripted models that read and report exactly as the real client does,
// with every line delayed by a random amount. They ask each other, the
// server and models that do not exist, answer from their handlers (which
// may ask on), send texts that create events soon after their stamp, and
// sometimes vanish mid-step. Checked on every run: no model is granted a
// time beyond an event that another model has or is about to be told of;
// nobody is told of something from its past; the run always ends; and the
// same models give the same steps whatever the network's timing.
#include "fake_output.h"
#include "wire/protocol.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace zorva::server::testing {
namespace {

constexpr int kModels = 10;

struct Frame {
    int Number;
    bool InStep;
    // A handler that asked on answers this question once it has its reply.
    std::optional<std::pair<std::string, std::string>> AnswerFor;  // number, asker
};

struct SimModel {
    std::string Name;
    std::mt19937 Random;  // the model's own choices: the same whatever the network does
    double Clock = 0;
    double StopTime = NeverTime;
    std::multiset<double> Events;
    int Budget = 14;
    bool Registered = false;
    bool Waiting = false;
    bool Done = false;
    bool Gone = false;
    int Questions = 0;
    std::vector<Frame> Frames;
    std::set<int> Replies;
    std::deque<std::string> Inbox;
    std::deque<std::string> Outbox;
    std::vector<std::string> Log;

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    // No element is current: the client reports what it hands to its handlers.
    bool BetweenSteps() const { return Frames.empty() || !Frames.back().InStep; }
    double Earliest() const { return Events.empty() ? StopTime : std::min(*Events.begin(), StopTime); }
};

std::string Field(std::string_view text, int index) {
    for (int i = 0; i < index; ++i) text.remove_prefix(std::min(text.size(), text.find("!!") + 2));
    return std::string(text.substr(0, text.find("!!")));
}

class Simulation {
public:
    Simulation(unsigned modelSeed, unsigned networkSeed, std::optional<double> until, bool crashes)
        : network_(networkSeed), room_(TimeServerConfig{kModels, until}), crashes_(crashes) {
        for (int i = 0; i < kModels; ++i) {
            SimModel& model = models_[i];
            model.Name = "xsim" + std::to_string(i);
            model.Random.seed(modelSeed * 100 + static_cast<unsigned>(i));
            for (int e = 0, n = model.Pick(1, 3); e < n; ++e) model.Events.insert(0.25 * model.Pick(0, 20));
            room_.Server.Connected(Id(i), "peer");
        }
        MoveToInboxes();
    }

    // Delivers one pending line at a time, in random order across
    // connections but in order within each, until nothing moves.
    void Run() {
        for (int step = 0; step < 400000; ++step) {
            std::vector<int> ready;
            for (int i = 0; i < kModels; ++i) {
                if (models_[i].Gone) continue;
                if (!models_[i].Outbox.empty()) ready.push_back(i);
                if (!models_[i].Inbox.empty()) ready.push_back(kModels + i);
            }
            if (ready.empty()) return;
            const int choice = ready[std::uniform_int_distribution<std::size_t>(0, ready.size() - 1)(network_)];
            const int i = choice % kModels;
            if (choice < kModels) {
                const std::string line = models_[i].Outbox.front();
                models_[i].Outbox.pop_front();
                if (line == "(crash)") {
                    models_[i].Gone = true;
                    room_.Server.Disconnected(Id(i), "killed");
                } else {
                    room_.Say(Id(i), line);
                }
                MoveToInboxes();
            } else {
                const std::string line = models_[i].Inbox.front();
                models_[i].Inbox.pop_front();
                Handle(i, line);
            }
            if (::testing::Test::HasFailure()) return;
        }
        FAIL() << "the run did not settle";
    }

    const SimModel& Model(int i) const { return models_[i]; }
    const TimeServer& Server() const { return room_.Server; }
    int Texts() const { return texts_; }

private:
    static ClientId Id(int i) { return static_cast<ClientId>(i + 1); }

    // Everything the server sent in one go reaches the inboxes before the
    // grants among it are checked.
    void MoveToInboxes() {
        std::vector<std::pair<int, double>> grants;
        for (int i = 0; i < kModels; ++i) {
            for (std::string& line : room_.Take(Id(i))) {
                if (line.starts_with("$$continue:")) grants.emplace_back(i, *ParseTime(line.substr(11)));
                models_[i].Inbox.push_back(std::move(line));
            }
        }
        for (const auto& [i, time] : grants) ExpectNoOneIsPassed(i, time);
    }

    // The promise of a grant: no other model has, or is being told of, an
    // event before it, and none is inside a step at an earlier time.
    void ExpectNoOneIsPassed(int granted, double time) {
        for (int j = 0; j < kModels; ++j) {
            const SimModel& other = models_[j];
            if (j == granted || other.Gone || other.Done) continue;
            double earliest = other.Events.empty() ? NeverTime : *other.Events.begin();
            for (const std::string& line : other.Inbox)
                if (line.starts_with("$$from:")) earliest = std::min(earliest, TextEvent(line));
            if (!other.BetweenSteps()) earliest = std::min(earliest, other.Clock);
            EXPECT_GE(earliest, time) << models_[granted].Name << " was granted " << FormatTime(time)
                                      << " past an event of " << other.Name << " at " << earliest;
        }
    }

    static double TextEvent(std::string_view line) {
        const double stamp = *ParseTime(line.substr(7, line.find("!!") - 7));
        return stamp + 0.25 * std::stoi(Field(line, 2));
    }

    void Handle(int i, const std::string& line) {
        SimModel& m = models_[i];
        if (m.Done) return;  // an ended run reads nothing any more
        std::string_view text = line;
        if (text.starts_with("$$hello:")) {
            m.Outbox.push_back("$$name:" + m.Name);
            m.Registered = true;
            Request(m);
        } else if (text.starts_with("$$continue:")) {
            EXPECT_TRUE(m.Waiting && m.Frames.empty()) << m.Name << " was granted time inside a question";
            m.Waiting = false;
            Step(i, *ParseTime(text.substr(11)));
        } else if (text.starts_with("$$stop:")) {
            m.Waiting = false;
            m.StopTime = *ParseTime(text.substr(7));
            m.Log.push_back("stop " + FormatTime(m.StopTime));
            Request(m);
        } else if (text.starts_with("$$from:")) {
            const double stamp = *ParseTime(text.substr(7, text.find("!!") - 7));
            EXPECT_GE(stamp, *ParseTime(FormatTime(m.Clock))) << m.Name << " got a text from its past: " << line;
            if (m.BetweenSteps()) m.Clock = std::max(m.Clock, std::min(stamp, m.Earliest()));
            m.Events.insert(TextEvent(text));
            HandedOver(m, "text " + line);
        } else if (text.starts_with("$$?")) {
            AnswerQuestion(m, Field(text.substr(3), 0), Field(text, 1));
        } else if (text.starts_with("$$!")) {
            m.Replies.insert(std::stoi(Field(text.substr(3), 0)));
            m.Log.push_back("reply " + line);
            Unwind(m);
        } else {
            HandedOver(m, "message " + line);
        }
    }

    // After a line handed to the model's handlers: one report between steps.
    static void HandedOver(SimModel& m, const std::string& what) {
        m.Log.push_back(what);
        if (m.BetweenSteps()) m.Outbox.push_back("$$newevent:" + FormatTime(m.Earliest()));
    }

    void AnswerQuestion(SimModel& m, const std::string& number, const std::string& asker) {
        m.Log.push_back("question " + number + " from " + asker);
        if (m.Pick(0, 3) == 0) {
            // The handler asks on before it answers; the wait reads on.
            m.Frames.push_back({Ask(m), !m.BetweenSteps(), std::make_pair(number, asker)});
            return;
        }
        m.Outbox.push_back("$$!" + number + "!!" + asker + "!!Yes");
        if (m.BetweenSteps()) m.Outbox.push_back("$$newevent:" + FormatTime(m.Earliest()));
    }

    // Questions end innermost first; a reply to an outer one waits for it.
    void Unwind(SimModel& m) {
        while (!m.Frames.empty() && m.Replies.contains(m.Frames.back().Number)) {
            const Frame frame = m.Frames.back();
            m.Frames.pop_back();
            m.Replies.erase(frame.Number);
            if (frame.AnswerFor) {
                m.Outbox.push_back("$$!" + frame.AnswerFor->first + "!!" + frame.AnswerFor->second + "!!Yes");
                if (!frame.InStep) m.Outbox.push_back("$$newevent:" + FormatTime(m.Earliest()));
            } else {
                Request(m);  // the step goes on and ends
            }
        }
    }

    int Ask(SimModel& m) {
        const int number = ++m.Questions;
        const int whom = m.Pick(0, kModels + 1);
        const std::string target = whom == kModels  ? "server"
                                   : whom > kModels ? "nobody"
                                                    : "sim" + std::to_string(whom);
        m.Outbox.push_back("$$?" + std::to_string(number) + "!!" + target + "!!time");
        return number;
    }

    void Step(int i, double granted) {
        SimModel& m = models_[i];
        if (m.Events.empty() || *m.Events.begin() >= m.StopTime) {
            m.Clock = granted;
            Request(m);
            return;
        }
        const double event = *m.Events.begin();
        EXPECT_EQ(FormatTime(event), FormatTime(granted)) << m.Name << " was granted a stale request";
        m.Events.erase(m.Events.begin());
        m.Clock = event;
        m.Log.push_back("step " + FormatTime(event));
        if (crashes_ && m.Pick(0, 60) == 0) {
            m.Outbox.push_back("(crash)");
            return;
        }
        if (m.Budget > 0 && m.Pick(0, 1) == 0) {
            --m.Budget;
            m.Events.insert(m.Clock + 0.25 * m.Pick(0, 8));
        }
        if (m.Budget > 0 && m.Pick(0, 2) == 0) {
            --m.Budget;
            ++texts_;
            const int whom = m.Pick(0, kModels);
            const std::string target = whom == kModels ? "nobody" : "sim" + std::to_string(whom);
            m.Outbox.push_back("$$toclient: " + target + "!!" + std::to_string(m.Pick(0, 4)));
        }
        if (m.Pick(0, 6) == 0) m.Outbox.push_back("$$time");
        if (m.Pick(0, 3) == 0) {
            m.Frames.push_back({Ask(m), true, std::nullopt});
            return;
        }
        Request(m);
    }

    static void Request(SimModel& m) {
        m.Waiting = true;
        if (!m.Events.empty() && *m.Events.begin() < m.StopTime) {
            m.Outbox.push_back("$$continue:" + FormatTime(*m.Events.begin()));
        } else if (m.Clock < m.StopTime) {
            m.Outbox.push_back("$$continue:" + FormatTime(m.StopTime));
        } else {
            m.Waiting = false;
            m.Done = true;
        }
    }

    std::mt19937 network_;
    Room room_;
    SimModel models_[kModels];
    bool crashes_;
    int texts_ = 0;
};

void ExpectEveryModelDone(const Simulation& simulation, unsigned seed) {
    EXPECT_TRUE(simulation.Server().Ended()) << "seed " << seed;
    for (int i = 0; i < kModels; ++i) {
        const SimModel& model = simulation.Model(i);
        EXPECT_TRUE(model.Done || model.Gone) << "seed " << seed << ": " << model.Name << " still waits";
    }
}

TEST(SimulatedModels, TenModelsRunOutOfEventsWithoutEverPassingOne) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        Simulation simulation(seed, seed, std::nullopt, false);
        simulation.Run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        ExpectEveryModelDone(simulation, seed);
        EXPECT_GT(simulation.Texts(), 0);
        for (int i = 0; i < kModels; ++i) EXPECT_TRUE(simulation.Model(i).Events.empty());
    }
}

TEST(SimulatedModels, TenModelsEndTogetherAtTheEndTimeWhileSomeVanish) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        Simulation simulation(seed, seed, 6.0, true);
        simulation.Run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        ExpectEveryModelDone(simulation, seed);
        for (int i = 0; i < kModels; ++i) {
            const SimModel& model = simulation.Model(i);
            if (model.Gone) continue;
            EXPECT_EQ(model.Clock, 6.0);
            for (double event : model.Events) EXPECT_GE(event, 6.0);
        }
    }
}

TEST(SimulatedModels, TheSameModelsTakeTheSameStepsWhateverTheNetworkDoes) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        Simulation first(seed, 1000 + seed, 6.0, true);
        Simulation second(seed, 2000 + seed, 6.0, true);
        first.Run();
        second.Run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        for (int i = 0; i < kModels; ++i)
            EXPECT_EQ(first.Model(i).Log, second.Model(i).Log) << "seed " << seed << ", " << first.Model(i).Name;
    }
}

}  // namespace
}  // namespace zorva::server::testing
