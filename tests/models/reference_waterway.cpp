#include "reference_waterway.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <queue>
#include <tuple>

namespace zorva::testing {
namespace {

// The framework's random stream, written out again: seed' = seed * 16807
// mod 2^31, u = seed' / (2^31 - 1).
class Stream {
public:
    explicit Stream(std::int64_t seed) : seed_(seed) {}
    double Next() {
        seed_ = (seed_ * 16807) % 2147483648LL;
        return static_cast<double>(seed_) / 2147483647.0;
    }

private:
    std::int64_t seed_;
};

std::string TwoDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

struct Ship {
    std::string Name;
    double Attribute;
    int Side;
};

struct Event {
    double Time;
    long Order;  // first come, first served among equal times
    std::function<void()> Action;
    bool operator>(const Event& other) const { return std::tie(Time, Order) > std::tie(other.Time, other.Order); }
};

class Waterway;

class Lock {
public:
    Lock(Waterway& waterway, const char* shipName, int bornSide, std::vector<std::string>& handOvers)
        : waterway_(waterway), shipName_(shipName), bornSide_(bornSide), handOvers_(handOvers) {}
    void Connect(Lock* other) { other_ = other; }

    void Birth(double now);
    void Arrive(double now, Ship ship);

private:
    void Wake(double now);
    void Fill(double now);
    void Empty(double now);
    void ShipOut(double now, const Ship& ship);
    std::string UniqueName();

    Waterway& waterway_;
    const char* shipName_;
    int bornSide_;
    std::vector<std::string>& handOvers_;
    Lock* other_ = nullptr;
    Stream arrivals_{520623};
    Stream attributes_{31659442};
    int born_ = 0;
    std::deque<Ship> waiting_[2];
    std::deque<Ship> chamber_;
    int openSide_ = 0;
    bool keeperIdle_ = true;
};

class Waterway {
public:
    explicit Waterway(double until)
        : until_(until), west_(*this, "ShipL", 0, result_.WestToEast), east_(*this, "ShipR", 1, result_.EastToWest) {
        west_.Connect(&east_);
        east_.Connect(&west_);
    }
    void At(double time, std::function<void()> action) { events_.push({time, next_++, std::move(action)}); }
    ReferenceHandOvers Run() {
        At(0.0, [this] { west_.Birth(0.0); });
        At(0.0, [this] { east_.Birth(0.0); });
        while (!events_.empty() && events_.top().Time < until_) {
            Event event = events_.top();
            events_.pop();
            event.Action();
        }
        return result_;
    }

private:
    double until_;
    ReferenceHandOvers result_;
    Lock west_;
    Lock east_;
    std::priority_queue<Event, std::vector<Event>, std::greater<>> events_;
    long next_ = 0;
};

std::string Lock::UniqueName() {
    ++born_;
    return born_ == 1 ? shipName_ : shipName_ + std::to_string(born_);
}

void Lock::Birth(double now) {
    const double attribute = 15.0 + attributes_.Next() * 15.0;
    Arrive(now, Ship{UniqueName(), attribute, bornSide_});
    const double gap = -std::log(arrivals_.Next()) * 40.0;
    waterway_.At(now + gap, [this, t = now + gap] { Birth(t); });
}

void Lock::Arrive(double now, Ship ship) {
    waiting_[ship.Side].push_back(std::move(ship));
    if (keeperIdle_) Wake(now);
}

// A cycle: towards the waiting ships if need be, fill, change over, empty.
void Lock::Wake(double now) {
    keeperIdle_ = false;
    if (waiting_[openSide_].empty()) {
        waterway_.At(now + 10.0, [this, t = now + 10.0] {
            openSide_ = 1 - openSide_;
            Fill(t);
        });
    } else {
        Fill(now);
    }
}

void Lock::Fill(double now) {
    if (waiting_[openSide_].empty()) {
        waterway_.At(now + 10.0, [this, t = now + 10.0] {
            openSide_ = 1 - openSide_;
            Empty(t);
        });
        return;
    }
    Ship ship = waiting_[openSide_].front();
    waiting_[openSide_].pop_front();
    waterway_.At(now + 2.0, [this, t = now + 2.0, ship] {
        chamber_.push_back(ship);
        Fill(t);
    });
}

void Lock::Empty(double now) {
    if (chamber_.empty()) {
        keeperIdle_ = true;
        if (!waiting_[0].empty() || !waiting_[1].empty()) Wake(now);
        return;
    }
    Ship ship = chamber_.front();
    chamber_.pop_front();
    waterway_.At(now + 2.0, [this, t = now + 2.0, ship] {
        ShipOut(t, ship);
        Empty(t);
    });
}

void Lock::ShipOut(double now, const Ship& ship) {
    if (ship.Side != bornSide_) return;
    const std::string attribute = TwoDecimals(ship.Attribute);
    const std::string arrival = TwoDecimals(now + 20.0);
    handOvers_.push_back(ship.Name + "!!" + attribute + "!!" + arrival);
    const double at = std::strtod(arrival.c_str(), nullptr);
    Ship received{ship.Name, std::strtod(attribute.c_str(), nullptr), bornSide_};
    waterway_.At(at, [other = other_, at, received] { other->Arrive(at, received); });
}

}  // namespace

ReferenceHandOvers SimulateWaterway(double until) {
    return Waterway(until).Run();
}

}  // namespace zorva::testing
