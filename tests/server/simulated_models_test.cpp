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
    int number;
    bool inStep;
    // A handler that asked on answers this question once it has its reply.
    std::optional<std::pair<std::string, std::string>> answerFor;  // number, asker
};

struct SimModel {
    std::string name;
    std::mt19937 random;  // the model's own choices: the same whatever the network does
    double clock = 0;
    double stopTime = NeverTime;
    std::multiset<double> events;
    int budget = 14;
    bool registered = false;
    bool waiting = false;
    bool done = false;
    bool gone = false;
    int questions = 0;
    std::vector<Frame> frames;
    std::set<int> replies;
    std::deque<std::string> inbox;
    std::deque<std::string> outbox;
    std::vector<std::string> log;

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    // No element is current: the client reports what it hands to its handlers.
    bool betweenSteps() const { return frames.empty() || !frames.back().inStep; }
    double earliest() const { return events.empty() ? stopTime : std::min(*events.begin(), stopTime); }
};

std::string field(std::string_view text, int index) {
    for (int i = 0; i < index; ++i) text.remove_prefix(std::min(text.size(), text.find("!!") + 2));
    return std::string(text.substr(0, text.find("!!")));
}

class Simulation {
public:
    Simulation(unsigned modelSeed, unsigned networkSeed, std::optional<double> until, bool crashes)
        : network_(networkSeed), room_(TimeServerConfig{kModels, until}), crashes_(crashes) {
        for (int i = 0; i < kModels; ++i) {
            SimModel& model = models_[i];
            model.name = "xsim" + std::to_string(i);
            model.random.seed(modelSeed * 100 + static_cast<unsigned>(i));
            for (int e = 0, n = model.pick(1, 3); e < n; ++e) model.events.insert(0.25 * model.pick(0, 20));
            room_.server.connected(id(i), "peer");
        }
        moveToInboxes();
    }

    // Delivers one pending line at a time, in random order across
    // connections but in order within each, until nothing moves.
    void run() {
        for (int step = 0; step < 400000; ++step) {
            std::vector<int> ready;
            for (int i = 0; i < kModels; ++i) {
                if (models_[i].gone) continue;
                if (!models_[i].outbox.empty()) ready.push_back(i);
                if (!models_[i].inbox.empty()) ready.push_back(kModels + i);
            }
            if (ready.empty()) return;
            const int choice = ready[std::uniform_int_distribution<std::size_t>(0, ready.size() - 1)(network_)];
            const int i = choice % kModels;
            if (choice < kModels) {
                const std::string line = models_[i].outbox.front();
                models_[i].outbox.pop_front();
                if (line == "(crash)") {
                    models_[i].gone = true;
                    room_.server.disconnected(id(i), "killed");
                } else {
                    room_.say(id(i), line);
                }
                moveToInboxes();
            } else {
                const std::string line = models_[i].inbox.front();
                models_[i].inbox.pop_front();
                handle(i, line);
            }
            if (::testing::Test::HasFailure()) return;
        }
        FAIL() << "the run did not settle";
    }

    const SimModel& model(int i) const { return models_[i]; }
    const TimeServer& server() const { return room_.server; }
    int texts() const { return texts_; }

private:
    static ClientId id(int i) { return static_cast<ClientId>(i + 1); }

    // Everything the server sent in one go reaches the inboxes before the
    // grants among it are checked.
    void moveToInboxes() {
        std::vector<std::pair<int, double>> grants;
        for (int i = 0; i < kModels; ++i) {
            for (std::string& line : room_.take(id(i))) {
                if (line.starts_with("$$continue:")) grants.emplace_back(i, *ParseTime(line.substr(11)));
                models_[i].inbox.push_back(std::move(line));
            }
        }
        for (const auto& [i, time] : grants) expectNoOneIsPassed(i, time);
    }

    // The promise of a grant: no other model has, or is being told of, an
    // event before it, and none is inside a step at an earlier time.
    void expectNoOneIsPassed(int granted, double time) {
        for (int j = 0; j < kModels; ++j) {
            const SimModel& other = models_[j];
            if (j == granted || other.gone || other.done) continue;
            double earliest = other.events.empty() ? NeverTime : *other.events.begin();
            for (const std::string& line : other.inbox)
                if (line.starts_with("$$from:")) earliest = std::min(earliest, textEvent(line));
            if (!other.betweenSteps()) earliest = std::min(earliest, other.clock);
            EXPECT_GE(earliest, time) << models_[granted].name << " was granted " << FormatTime(time)
                                      << " past an event of " << other.name << " at " << earliest;
        }
    }

    static double textEvent(std::string_view line) {
        const double stamp = *ParseTime(line.substr(7, line.find("!!") - 7));
        return stamp + 0.25 * std::stoi(field(line, 2));
    }

    void handle(int i, const std::string& line) {
        SimModel& m = models_[i];
        if (m.done) return;  // an ended run reads nothing any more
        std::string_view text = line;
        if (text.starts_with("$$hello:")) {
            m.outbox.push_back("$$name:" + m.name);
            m.registered = true;
            request(m);
        } else if (text.starts_with("$$continue:")) {
            EXPECT_TRUE(m.waiting && m.frames.empty()) << m.name << " was granted time inside a question";
            m.waiting = false;
            step(i, *ParseTime(text.substr(11)));
        } else if (text.starts_with("$$stop:")) {
            m.waiting = false;
            m.stopTime = *ParseTime(text.substr(7));
            m.log.push_back("stop " + FormatTime(m.stopTime));
            request(m);
        } else if (text.starts_with("$$from:")) {
            const double stamp = *ParseTime(text.substr(7, text.find("!!") - 7));
            EXPECT_GE(stamp, *ParseTime(FormatTime(m.clock))) << m.name << " got a text from its past: " << line;
            if (m.betweenSteps()) m.clock = std::max(m.clock, std::min(stamp, m.earliest()));
            m.events.insert(textEvent(text));
            handedOver(m, "text " + line);
        } else if (text.starts_with("$$?")) {
            answerQuestion(m, field(text.substr(3), 0), field(text, 1));
        } else if (text.starts_with("$$!")) {
            m.replies.insert(std::stoi(field(text.substr(3), 0)));
            m.log.push_back("reply " + line);
            unwind(m);
        } else {
            handedOver(m, "message " + line);
        }
    }

    // After a line handed to the model's handlers: one report between steps.
    static void handedOver(SimModel& m, const std::string& what) {
        m.log.push_back(what);
        if (m.betweenSteps()) m.outbox.push_back("$$newevent:" + FormatTime(m.earliest()));
    }

    void answerQuestion(SimModel& m, const std::string& number, const std::string& asker) {
        m.log.push_back("question " + number + " from " + asker);
        if (m.pick(0, 3) == 0) {
            // The handler asks on before it answers; the wait reads on.
            m.frames.push_back({ask(m), !m.betweenSteps(), std::make_pair(number, asker)});
            return;
        }
        m.outbox.push_back("$$!" + number + "!!" + asker + "!!Yes");
        if (m.betweenSteps()) m.outbox.push_back("$$newevent:" + FormatTime(m.earliest()));
    }

    // Questions end innermost first; a reply to an outer one waits for it.
    void unwind(SimModel& m) {
        while (!m.frames.empty() && m.replies.contains(m.frames.back().number)) {
            const Frame frame = m.frames.back();
            m.frames.pop_back();
            m.replies.erase(frame.number);
            if (frame.answerFor) {
                m.outbox.push_back("$$!" + frame.answerFor->first + "!!" + frame.answerFor->second + "!!Yes");
                if (!frame.inStep) m.outbox.push_back("$$newevent:" + FormatTime(m.earliest()));
            } else {
                request(m);  // the step goes on and ends
            }
        }
    }

    int ask(SimModel& m) {
        const int number = ++m.questions;
        const int whom = m.pick(0, kModels + 1);
        const std::string target = whom == kModels  ? "server"
                                   : whom > kModels ? "nobody"
                                                    : "sim" + std::to_string(whom);
        m.outbox.push_back("$$?" + std::to_string(number) + "!!" + target + "!!time");
        return number;
    }

    void step(int i, double granted) {
        SimModel& m = models_[i];
        if (m.events.empty() || *m.events.begin() >= m.stopTime) {
            m.clock = granted;
            request(m);
            return;
        }
        const double event = *m.events.begin();
        EXPECT_EQ(FormatTime(event), FormatTime(granted)) << m.name << " was granted a stale request";
        m.events.erase(m.events.begin());
        m.clock = event;
        m.log.push_back("step " + FormatTime(event));
        if (crashes_ && m.pick(0, 60) == 0) {
            m.outbox.push_back("(crash)");
            return;
        }
        if (m.budget > 0 && m.pick(0, 1) == 0) {
            --m.budget;
            m.events.insert(m.clock + 0.25 * m.pick(0, 8));
        }
        if (m.budget > 0 && m.pick(0, 2) == 0) {
            --m.budget;
            ++texts_;
            const int whom = m.pick(0, kModels);
            const std::string target = whom == kModels ? "nobody" : "sim" + std::to_string(whom);
            m.outbox.push_back("$$toclient: " + target + "!!" + std::to_string(m.pick(0, 4)));
        }
        if (m.pick(0, 6) == 0) m.outbox.push_back("$$time");
        if (m.pick(0, 3) == 0) {
            m.frames.push_back({ask(m), true, std::nullopt});
            return;
        }
        request(m);
    }

    static void request(SimModel& m) {
        m.waiting = true;
        if (!m.events.empty() && *m.events.begin() < m.stopTime) {
            m.outbox.push_back("$$continue:" + FormatTime(*m.events.begin()));
        } else if (m.clock < m.stopTime) {
            m.outbox.push_back("$$continue:" + FormatTime(m.stopTime));
        } else {
            m.waiting = false;
            m.done = true;
        }
    }

    std::mt19937 network_;
    Room room_;
    SimModel models_[kModels];
    bool crashes_;
    int texts_ = 0;
};

void ExpectEveryModelDone(const Simulation& simulation, unsigned seed) {
    EXPECT_TRUE(simulation.server().ended()) << "seed " << seed;
    for (int i = 0; i < kModels; ++i) {
        const SimModel& model = simulation.model(i);
        EXPECT_TRUE(model.done || model.gone) << "seed " << seed << ": " << model.name << " still waits";
    }
}

TEST(SimulatedModels, TenModelsRunOutOfEventsWithoutEverPassingOne) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        Simulation simulation(seed, seed, std::nullopt, false);
        simulation.run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        ExpectEveryModelDone(simulation, seed);
        EXPECT_GT(simulation.texts(), 0);
        for (int i = 0; i < kModels; ++i) EXPECT_TRUE(simulation.model(i).events.empty());
    }
}

TEST(SimulatedModels, TenModelsEndTogetherAtTheEndTimeWhileSomeVanish) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        Simulation simulation(seed, seed, 6.0, true);
        simulation.run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        ExpectEveryModelDone(simulation, seed);
        for (int i = 0; i < kModels; ++i) {
            const SimModel& model = simulation.model(i);
            if (model.gone) continue;
            EXPECT_EQ(model.clock, 6.0);
            for (double event : model.events) EXPECT_GE(event, 6.0);
        }
    }
}

TEST(SimulatedModels, TheSameModelsTakeTheSameStepsWhateverTheNetworkDoes) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        Simulation first(seed, 1000 + seed, 6.0, true);
        Simulation second(seed, 2000 + seed, 6.0, true);
        first.run();
        second.run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        for (int i = 0; i < kModels; ++i)
            EXPECT_EQ(first.model(i).log, second.model(i).log) << "seed " << seed << ", " << first.model(i).name;
    }
}

}  // namespace
}  // namespace zorva::server::testing
