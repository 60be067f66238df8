// Ten scripted models that read, report and count exactly as the real
// client does, with every line delayed by a random amount. They ask each
// other, the server and models that do not exist, answer from their
// handlers (which may ask on), send texts that create events after their
// stamp, and sometimes vanish mid-step; some run ahead with a lookahead.
// Checked on every run: no model is granted a time, or a horizon, beyond an
// event that another model has, is about to be told of, or may still send;
// nobody is told of something from its past; the run always ends; and the
// same models take the same steps whatever the network's timing, and
// whether they run ahead or not.
#include "fake_output.h"
#include "wire/protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace zorva::server::testing {
namespace {

constexpr int kModels = 10;
// Every text's event lies at least this far after its stamp, whether the
// sender declared it or not.
constexpr double kPromise = 1.0;
constexpr double kTick = 0.25;

enum class Mode { Exact, Ahead, Mixed };

struct Frame {
    int Number;
    bool InStep;
    // A handler that asked on answers this question once it has its reply.
    std::optional<std::pair<std::string, std::string>> AnswerFor;  // number, asker
};

struct SimModel {
    std::string Name;
    std::mt19937 Random;  // the model's own choices: the same whatever the network does
    bool DeclaresLookahead = false;
    bool Ahead = false;   // the server agreed
    double Horizon = -1;  // while running ahead: every event before it may run
    double Clock = 0;
    double StopTime = NeverTime;
    std::multiset<double> Events;
    int Budget = 14;
    bool Waiting = false;
    bool Done = false;
    bool Gone = false;
    int Questions = 0;
    long Handled = 0;  // lines handed to its handlers, counted as the client counts them
    std::vector<Frame> Frames;
    std::set<int> Replies;
    std::deque<std::string> Inbox;
    std::deque<std::string> Outbox;
    std::vector<std::string> Steps;     // the times of its events, in order
    std::vector<std::string> Received;  // what reached its handlers

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    // No element is current: the client reports what it hands to its handlers.
    bool BetweenSteps() const { return Frames.empty() || !Frames.back().InStep; }
    double Earliest() const { return Events.empty() ? StopTime : std::min(*Events.begin(), StopTime); }
};

std::string Field(std::string_view text, int index) {
    for (int i = 0; i < index; ++i) text.remove_prefix(std::min(text.size(), text.find("!!") + 2));
    return std::string(text.substr(0, text.find("!!")));
}

double TextEvent(std::string_view line) {
    return *ParseTime(Field(line.substr(7), 0)) + kTick * std::stoi(Field(line, 2));
}

class Simulation {
public:
    Simulation(unsigned modelSeed, unsigned networkSeed, std::optional<double> until, bool crashes, Mode mode)
        : network_(networkSeed), room_(TimeServerConfig{kModels, until}), crashes_(crashes) {
        for (int i = 0; i < kModels; ++i) {
            SimModel& model = models_[i];
            model.Name = "xsim" + std::to_string(i);
            model.Random.seed(modelSeed * 100 + static_cast<unsigned>(i));
            model.DeclaresLookahead = mode == Mode::Ahead || (mode == Mode::Mixed && i % 2 == 0);
            for (int e = 0, n = model.Pick(1, 3); e < n; ++e) model.Events.insert(kTick * model.Pick(0, 20));
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
        std::vector<std::pair<int, std::string>> grants;
        for (int i = 0; i < kModels; ++i) {
            for (std::string& line : room_.Take(Id(i))) {
                if (line.starts_with("$$continue:") || line.starts_with("$$horizon:")) grants.emplace_back(i, line);
                models_[i].Inbox.push_back(std::move(line));
            }
        }
        for (const auto& [i, line] : grants) ExpectNoOneIsPassed(i, line);
    }

    // The earliest time at which model j may still create an event
    // somewhere else, or at home from a text it has not read.
    double EarliestAction(const SimModel& other) const {
        double earliest = other.Events.empty() ? NeverTime : *other.Events.begin();
        for (const std::string& line : other.Inbox)
            if (line.starts_with("$$from:")) earliest = std::min(earliest, TextEvent(line));
        // Inside a step, or running ahead: at its clock.
        if (!other.BetweenSteps() || (!other.Waiting && other.Horizon > other.Clock))
            earliest = std::min(earliest, other.Clock);
        return earliest;
    }

    // The promise of a grant: no other model has, or is being told of, an
    // event before it, and none may still send something that creates one.
    // A horizon H promises every event before H; a grant of t, t itself.
    void ExpectNoOneIsPassed(int granted, const std::string& line) {
        const bool horizon = line.starts_with("$$horizon:");
        const double time = *ParseTime(line.substr(line.find(':') + 1));
        for (const std::string& text : models_[granted].Inbox) {
            if (text.starts_with("$$from:") && horizon) {
                EXPECT_GE(TextEvent(text), time) << models_[granted].Name;
            }
        }
        for (int j = 0; j < kModels; ++j) {
            const SimModel& other = models_[j];
            if (j == granted || other.Gone || other.Done) continue;
            // What it sends creates events no earlier than this.
            const double output = EarliestAction(other) + (other.DeclaresLookahead ? kPromise : 0.0);
            EXPECT_GE(output, time) << models_[granted].Name << " got " << line << " past what " << other.Name
                                    << " may still do at " << output;
        }
    }

    void Handle(int i, const std::string& line) {
        SimModel& m = models_[i];
        if (m.Done) return;  // an ended run reads nothing any more
        std::string_view text = line;
        if (text.starts_with("$$hello:")) {
            m.Outbox.push_back("$$name:" + m.Name);
            if (m.DeclaresLookahead) {
                m.Frames.push_back({++m.Questions, false, std::nullopt});
                m.Outbox.push_back("$$?" + std::to_string(m.Questions) + "!!server!!lookahead " + FormatTime(kPromise));
            } else {
                Request(m);
            }
        } else if (text.starts_with("$$continue:")) {
            EXPECT_TRUE(m.Waiting && m.Frames.empty()) << m.Name << " was granted time inside a question";
            m.Waiting = false;
            Step(i, *ParseTime(text.substr(11)));
        } else if (text.starts_with("$$horizon:")) {
            EXPECT_TRUE(m.Ahead) << m.Name << " got a horizon it did not ask for";
            // A request asked again may cross the horizon its first one got.
            m.Horizon = std::max(m.Horizon, *ParseTime(text.substr(10)));
            if (m.Frames.empty()) GoOnAhead(i);
        } else if (text.starts_with("$$stop:")) {
            m.Waiting = false;
            m.StopTime = *ParseTime(text.substr(7));
            Request(m);
        } else if (text.starts_with("$$from:")) {
            const double stamp = *ParseTime(Field(text.substr(7), 0));
            const double event = TextEvent(text);
            EXPECT_GE(event, m.Clock) << m.Name << " was told of an event in its past: " << line;
            if (!m.Ahead) {
                // From a model without lookahead, a text is never stamped
                // before the receiver's clock; one with may run ahead.
                if (!Sender(text).DeclaresLookahead) {
                    EXPECT_GE(stamp, *ParseTime(FormatTime(m.Clock))) << m.Name << " got a text from its past";
                }
                if (m.BetweenSteps()) m.Clock = std::max(m.Clock, std::min(stamp, m.Earliest()));
            }
            m.Events.insert(event);
            HandedOver(i, line);
        } else if (text.starts_with("$$?")) {
            AnswerQuestion(i, Field(text.substr(3), 0), Field(text, 1));
        } else if (text.starts_with("$$!")) {
            const int number = std::stoi(Field(text.substr(3), 0));
            if (m.DeclaresLookahead && number == 1) m.Ahead = Field(text, 2) == "lookahead " + FormatTime(kPromise);
            m.Replies.insert(number);
            Unwind(i);
        } else {
            HandedOver(i, line);
        }
    }

    const SimModel& Sender(std::string_view from) const { return models_[std::stoi(Field(from, 1).substr(4))]; }

    // A line handed to the model's handlers: counted; without lookahead,
    // reported once between steps; with, asked for again while waiting.
    void HandedOver(int i, const std::string& line) {
        SimModel& m = models_[i];
        ++m.Handled;
        if (line.starts_with("$$from:")) m.Received.push_back(line);
        Report(i);
    }

    void Report(int i) {
        SimModel& m = models_[i];
        if (!m.BetweenSteps()) return;
        if (!m.Ahead) {
            m.Outbox.push_back("$$newevent:" + FormatTime(m.Earliest()));
        } else if (m.Waiting && m.Frames.empty()) {
            // The earliest event may have changed: run it if the horizon
            // allows, else ask again.
            if (m.Horizon > m.Earliest())
                GoOnAhead(i);
            else
                Request(m);
        }
    }

    // A waiting lookahead model whose horizon has come.
    void GoOnAhead(int i) {
        SimModel& m = models_[i];
        if (!m.Waiting || !(m.Horizon > m.Earliest())) return;
        m.Waiting = false;
        RunAhead(i);
    }

    void AnswerQuestion(int i, const std::string& number, const std::string& asker) {
        SimModel& m = models_[i];
        ++m.Handled;
        // Decided by the question alone: handlers run wherever the model
        // reads, and the model's own choices must not depend on that.
        const std::size_t choice = std::hash<std::string>{}(m.Name + asker + number);
        if (choice % 4 == 0) {
            // The handler asks on before it answers; the wait reads on.
            m.Frames.push_back({Ask(m, static_cast<int>(choice / 4 % (kModels + 2))), !m.BetweenSteps(),
                                std::make_pair(number, asker)});
            return;
        }
        m.Outbox.push_back("$$!" + number + "!!" + asker + "!!Yes");
        Report(i);
    }

    // Questions end innermost first; a reply to an outer one waits for it.
    void Unwind(int i) {
        SimModel& m = models_[i];
        while (!m.Frames.empty() && m.Replies.contains(m.Frames.back().Number)) {
            const Frame frame = m.Frames.back();
            m.Frames.pop_back();
            m.Replies.erase(frame.Number);
            if (frame.AnswerFor) {
                m.Outbox.push_back("$$!" + frame.AnswerFor->first + "!!" + frame.AnswerFor->second + "!!Yes");
                Report(i);
            } else if (frame.InStep && m.Ahead && m.Horizon > m.Clock) {
                RunAhead(i);  // the step goes on and ends; more may run
            } else {
                Request(m);  // the step, or the agreement on lookahead, is over
            }
        }
    }

    static int Ask(SimModel& m, int whom) {
        const int number = ++m.Questions;
        const std::string target = whom == kModels  ? "server"
                                   : whom > kModels ? "nobody"
                                                    : "sim" + std::to_string(whom);
        m.Outbox.push_back("$$?" + std::to_string(number) + "!!" + target + "!!time");
        return number;
    }

    // Every event before the horizon, one step after another; a step that
    // asks stops here until its answer.
    void RunAhead(int i) {
        SimModel& m = models_[i];
        while (!m.Events.empty() && *m.Events.begin() < m.Horizon && *m.Events.begin() < m.StopTime) {
            if (!Execute(i, *m.Events.begin()) || !m.Frames.empty() || m.Gone) return;
        }
        m.Horizon = -1;
        Request(m);
    }

    void Step(int i, double granted) {
        SimModel& m = models_[i];
        if (m.Events.empty() || *m.Events.begin() >= m.StopTime) {
            m.Clock = granted;
            Request(m);
            return;
        }
        EXPECT_EQ(FormatTime(*m.Events.begin()), FormatTime(granted)) << m.Name << " was granted a stale request";
        if (Execute(i, *m.Events.begin()) && m.Frames.empty()) Request(m);
    }

    // One event: false when the model vanished in it.
    bool Execute(int i, double event) {
        SimModel& m = models_[i];
        m.Events.erase(m.Events.begin());
        m.Clock = event;
        m.Steps.push_back(FormatTime(event));
        if (crashes_ && m.Pick(0, 60) == 0) {
            m.Outbox.push_back("(crash)");
            return false;
        }
        if (m.Budget > 0 && m.Pick(0, 1) == 0) {
            --m.Budget;
            m.Events.insert(m.Clock + kTick * m.Pick(0, 8));
        }
        if (m.Budget > 0 && m.Pick(0, 2) == 0) {
            --m.Budget;
            ++texts_;
            const int whom = m.Pick(0, kModels);
            const std::string target = whom == kModels ? "nobody" : "sim" + std::to_string(whom);
            const std::string delay = std::to_string(static_cast<int>(kPromise / kTick) + m.Pick(0, 4));
            m.Outbox.push_back(m.Ahead ? "$$send:" + FormatTime(m.Clock) + "!!" + target + "!!" + delay
                                       : "$$toclient: " + target + "!!" + delay);
        }
        if (m.Pick(0, 6) == 0) m.Outbox.push_back("$$time");
        if (m.Pick(0, 3) == 0) m.Frames.push_back({Ask(m, m.Pick(0, kModels + 1)), true, std::nullopt});
        return true;
    }

    static void Request(SimModel& m) {
        m.Waiting = true;
        const double next = !m.Events.empty() && *m.Events.begin() < m.StopTime ? *m.Events.begin() : m.StopTime;
        if (next == m.StopTime && m.Clock >= m.StopTime) {
            m.Waiting = false;
            m.Done = true;
        } else if (m.Ahead) {
            m.Outbox.push_back("$$ahead:" + FormatTime(next) + "!!" + std::to_string(m.Handled));
        } else {
            m.Outbox.push_back("$$continue:" + FormatTime(next));
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

TEST(SimulatedModels, ModelsRunOutOfEventsWithoutEverPassingOne) {
    for (const Mode mode : {Mode::Exact, Mode::Ahead, Mode::Mixed}) {
        for (unsigned seed = 1; seed <= 15; ++seed) {
            Simulation simulation(seed, seed, std::nullopt, false, mode);
            simulation.Run();
            ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed << ", mode " << static_cast<int>(mode);
            ExpectEveryModelDone(simulation, seed * 10 + static_cast<unsigned>(mode));
            EXPECT_GT(simulation.Texts(), 0);
            for (int i = 0; i < kModels; ++i) EXPECT_TRUE(simulation.Model(i).Events.empty());
        }
    }
}

TEST(SimulatedModels, ModelsEndTogetherAtTheEndTimeWhileSomeVanish) {
    for (const Mode mode : {Mode::Exact, Mode::Mixed}) {
        for (unsigned seed = 1; seed <= 15; ++seed) {
            Simulation simulation(seed, seed, 6.0, true, mode);
            simulation.Run();
            ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed << ", mode " << static_cast<int>(mode);
            ExpectEveryModelDone(simulation, seed * 10 + static_cast<unsigned>(mode));
            for (int i = 0; i < kModels; ++i) {
                const SimModel& model = simulation.Model(i);
                if (model.Gone) continue;
                EXPECT_EQ(model.Clock, 6.0);
                for (double event : model.Events) EXPECT_GE(event, 6.0);
            }
        }
    }
}

TEST(SimulatedModels, TheSameModelsTakeTheSameStepsWhateverTheNetworkDoesAndWithLookahead) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        Simulation exact(seed, 1000 + seed, 6.0, false, Mode::Exact);
        Simulation again(seed, 2000 + seed, 6.0, false, Mode::Exact);
        Simulation ahead(seed, 3000 + seed, 6.0, false, Mode::Ahead);
        exact.Run();
        again.Run();
        ahead.Run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        for (int i = 0; i < kModels; ++i) {
            const SimModel& model = exact.Model(i);
            EXPECT_EQ(model.Steps, again.Model(i).Steps) << "seed " << seed << ", " << model.Name;
            EXPECT_EQ(model.Steps, ahead.Model(i).Steps) << "seed " << seed << ", " << model.Name << " ahead";
            // A model that has ended reads nothing: texts for after the
            // end reach it or not, depending on when they come.
            const auto beforeTheEnd = [](std::vector<std::string> texts) {
                std::erase_if(texts, [](const std::string& text) { return TextEvent(text) >= 6.0; });
                std::sort(texts.begin(), texts.end());
                return texts;
            };
            EXPECT_EQ(beforeTheEnd(model.Received), beforeTheEnd(ahead.Model(i).Received))
                << "seed " << seed << ", " << model.Name;
        }
    }
}

}  // namespace
}  // namespace zorva::server::testing
