// Ten scripted models that behave like the real client, with every line
// delayed by a random amount, check the one promise that makes the
// distributed run correct: no model is ever granted a time, or handed a
// text, earlier than its own clock.
#include "fake_output.h"
#include "server/protocol.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace zorva::server::testing {
namespace {

constexpr int kModels = 10;

struct SimModel {
  std::string name;
  double clock = 0;
  double stopTime = kNeverTime;
  std::multiset<double> events;
  int budget = 12;
  bool asking = false;
  bool done = false;
  int questions = 0;
  int executed = 0;
  std::deque<std::string> outbox;
};

class Simulation {
 public:
  Simulation(unsigned seed, std::optional<double> until)
      : random_(seed), room_(TimeServerConfig{kModels, until}) {
    for (int i = 0; i < kModels; ++i) {
      SimModel& model = models_[i];
      model.name = "xsim" + std::to_string(i);
      for (int e = 0, n = pick(1, 3); e < n; ++e) model.events.insert(0.25 * pick(0, 20));
      room_.server.connected(id(i), "peer");
    }
  }

  // Delivers one pending line at a time, in random order across
  // connections but in order within each, until nothing moves.
  void run() {
    for (int step = 0; step < 200000; ++step) {
      std::vector<int> ready;
      for (int i = 0; i < kModels; ++i) {
        if (!models_[i].outbox.empty()) ready.push_back(i);
        if (!room_.out.lines[id(i)].empty()) ready.push_back(kModels + i);
      }
      if (ready.empty()) return;
      const int choice = ready[pick(0, static_cast<int>(ready.size()) - 1)];
      if (choice < kModels) {
        auto& outbox = models_[choice].outbox;
        const std::string line = outbox.front();
        outbox.pop_front();
        room_.say(id(choice), line);
      } else {
        auto& inbox = room_.out.lines[id(choice - kModels)];
        const std::string line = inbox.front();
        inbox.pop_front();
        handle(choice - kModels, line);
      }
      if (::testing::Test::HasFailure()) return;
    }
    FAIL() << "the run did not settle";
  }

  const SimModel& model(int i) const { return models_[i]; }
  int texts() const { return texts_; }
  const TimeServer& server() const { return room_.server; }

 private:
  static ClientId id(int i) { return static_cast<ClientId>(i + 1); }
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  int other(int i) { return (i + pick(1, kModels - 1)) % kModels; }
  static std::string target(int i) { return "sim" + std::to_string(i); }

  void handle(int i, const std::string& line) {
    SimModel& m = models_[i];
    std::string_view text = line;
    if (text.starts_with("$$hello:")) {
      m.outbox.push_back("$$name:" + m.name);
      request(m);
    } else if (text.starts_with("$$continue:")) {
      granted(i, *parseTime(text.substr(11)));
    } else if (text.starts_with("$$stop:")) {
      m.stopTime = *parseTime(text.substr(7));
      request(m);
    } else if (text.starts_with("$$from:")) {
      const auto bang = text.find("!!");
      const double stamp = *parseTime(text.substr(7, bang - 7));
      EXPECT_GE(stamp, m.clock) << m.name << " got a text from its past: " << line;
      m.clock = stamp;
      m.events.insert(stamp + 0.25 * std::stoi(std::string(text.substr(text.rfind("!!") + 2))));
      // Inside a question the model is within a step: the continue after
      // the step reports the new event.
      if (!m.asking) m.outbox.push_back("$$newevent:" + formatTime(earliest(m)));
    } else if (text.starts_with("$$?")) {
      const auto first = text.find("!!");
      const auto second = text.find("!!", first + 2);
      m.outbox.push_back("$$!" + std::string(text.substr(3, first - 3)) + "!!" +
                         std::string(text.substr(first + 2, second - first - 2)) + "!!Yes");
    } else if (text.starts_with("$$!")) {
      EXPECT_TRUE(m.asking) << line;
      m.asking = false;
      request(m);
    } else {
      ADD_FAILURE() << m.name << " got " << line;
    }
  }

  void granted(int i, double time) {
    SimModel& m = models_[i];
    EXPECT_FALSE(m.asking) << m.name << " was granted time inside a question";
    EXPECT_GE(time, m.clock) << m.name << " was granted a time in its past";
    if (m.events.empty() || *m.events.begin() >= m.stopTime) {
      m.clock = time;
      request(m);
      return;
    }
    const double event = *m.events.begin();
    EXPECT_EQ(formatTime(event), formatTime(time)) << m.name << " was granted a stale request";
    m.events.erase(m.events.begin());
    m.clock = event;
    ++m.executed;
    if (m.budget > 0 && pick(0, 1) == 0) {
      --m.budget;
      m.events.insert(m.clock + 0.25 * pick(0, 8));
    }
    if (m.budget > 0 && pick(0, 2) == 0) {
      --m.budget;
      ++texts_;
      m.outbox.push_back("$$toclient: " + target(other(i)) + "!!" + std::to_string(pick(0, 8)));
    }
    if (pick(0, 4) == 0) {
      m.asking = true;
      m.outbox.push_back("$$?" + std::to_string(++m.questions) + "!!" + target(other(i)) +
                         "!!Can you receive a ship?");
      return;
    }
    request(m);
  }

  static double earliest(const SimModel& m) {
    return m.events.empty() ? m.stopTime : std::min(*m.events.begin(), m.stopTime);
  }

  static void request(SimModel& m) {
    if (!m.events.empty() && *m.events.begin() < m.stopTime) {
      m.outbox.push_back("$$continue:" + formatTime(*m.events.begin()));
    } else if (m.clock < m.stopTime) {
      m.outbox.push_back("$$continue:" + formatTime(m.stopTime));
    } else {
      m.done = true;
    }
  }

  std::mt19937 random_;
  Room room_;
  SimModel models_[kModels];
  int texts_ = 0;
};

TEST(SimulatedModels, TenModelsRunOutOfEventsWithoutEverGoingBack) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Simulation simulation(seed, std::nullopt);
    simulation.run();
    ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
    EXPECT_TRUE(simulation.server().ended()) << "seed " << seed;
    EXPECT_GT(simulation.texts(), 0);
    for (int i = 0; i < kModels; ++i) {
      EXPECT_TRUE(simulation.model(i).done) << "seed " << seed << " model " << i;
      EXPECT_TRUE(simulation.model(i).events.empty()) << "seed " << seed << " model " << i;
      EXPECT_EQ(simulation.model(i).clock, simulation.server().time());
    }
  }
}

TEST(SimulatedModels, TenModelsEndTogetherAtTheEndTime) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Simulation simulation(seed, 6.0);
    simulation.run();
    ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
    EXPECT_TRUE(simulation.server().ended()) << "seed " << seed;
    for (int i = 0; i < kModels; ++i) {
      EXPECT_TRUE(simulation.model(i).done) << "seed " << seed << " model " << i;
      EXPECT_EQ(simulation.model(i).clock, 6.0);
      for (double event : simulation.model(i).events) EXPECT_GE(event, 6.0);
    }
  }
}

TEST(SimulatedModels, TwoModelsAgree) {
  // The lock pair: west asks, east answers, texts both ways.
  Room room;
  room.join(1, "obrimwest");
  room.join(2, "obrimeast");
  room.say(1, "$$continue:0.00");
  room.say(2, "$$continue:0.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:0.00"});
  EXPECT_EQ(room.take(2), Lines{"$$continue:0.00"});
  room.say(2, "$$continue:30.00");
  room.say(1, "$$continue:14.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:14.00"});
  room.say(1, "$$?1!!brimeast!!Can you receive a ship?");
  EXPECT_EQ(room.take(2), Lines{"$$?1!!obrimwest!!Can you receive a ship?"});
  room.say(2, "$$!1!!obrimwest!!Yes");
  EXPECT_EQ(room.take(1), Lines{"$$!1!!obrimeast!!Yes"});
  room.say(1, "$$toclient: brimeast!!ShipL!!17.52!!104.37");
  room.say(1, "$$continue:" + formatTime(kNeverTime));
  EXPECT_EQ(room.take(2), Lines{"$$from:14.00!!obrimwest!!ShipL!!17.52!!104.37"});
  EXPECT_TRUE(room.take(2).empty());
  room.say(2, "$$newevent:30.00");
  EXPECT_EQ(room.take(2), Lines{"$$continue:30.00"});
  room.say(2, "$$continue:34.00");
  EXPECT_EQ(room.take(2), Lines{"$$continue:34.00"});
  room.say(2, "$$continue:" + formatTime(kNeverTime));
  EXPECT_EQ(room.take(1), Lines{"$$stop:34.00"});
  EXPECT_EQ(room.take(2), Lines{"$$stop:34.00"});
}

}  // namespace
}  // namespace zorva::server::testing
