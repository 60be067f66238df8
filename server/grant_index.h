#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace zorva::server {

using ClientId = std::uint64_t;

// What a grant decision needs to know of one registered model, taken from
// its account after a line to or from it.
struct GrantFacts {
    std::string Name;
    double Effective = 0;
    double Output = 0;
    double Request = 0;
    bool Ahead = false;
    bool Settled = false;
    bool Running = false;
    bool Waiting = false;
};

// The registered models ordered as the grant rule looks at them, so that
// a decision reads the least entries instead of walking every model: a
// change costs O(log n), a decision O(log n) plus one step per grant.
class GrantIndex {
public:
    struct Candidate {
        ClientId Id;
        double Effective;
        bool Settled;
    };

    // A model's facts, new or changed; its name must stay what it was.
    void Put(ClientId id, const GrantFacts& facts);
    void Remove(ClientId id);

    // Infinity when no model is registered.
    double Earliest() const;
    bool AllSettled() const { return unsettled_ == 0; }
    double LeastOutput() const;
    double LeastAheadOutput() const;

    bool ExactRunning() const { return exactRunning_ > 0; }
    // Among the models without lookahead, the one at the least time; an
    // unsettled one comes before a settled one at that time, then the
    // lowest name.
    std::optional<Candidate> FirstExact() const;
    // Lookahead models waiting with a request before `bound`, least first.
    std::vector<ClientId> WaitingAheadBefore(double bound) const;

private:
    using ByTime = std::set<std::pair<double, ClientId>>;

    std::map<ClientId, GrantFacts> facts_;
    ByTime effective_;
    ByTime output_;
    ByTime aheadOutput_;
    ByTime waitingAhead_;  // by request
    std::set<std::tuple<double, bool, std::string_view, ClientId>> exact_;
    int unsettled_ = 0;
    int exactRunning_ = 0;
};

}  // namespace zorva::server
