#include "grant_index.h"

#include <limits>

namespace zorva::server {

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

double Least(const std::set<std::pair<double, ClientId>>& set) {
    return set.empty() ? kNone : set.begin()->first;
}

}  // namespace

namespace {

// Moves one model's key within an ordered view, reusing its node: most
// lines change one or two of a model's times, and the views are updated on
// every line.
template <class Set>
void Replace(Set& set, bool had, const typename Set::key_type& from, bool has, const typename Set::key_type& to) {
    if (had && has && from == to) return;
    if (had && has) {
        auto node = set.extract(from);
        node.value() = to;
        set.insert(std::move(node));
        return;
    }
    if (had) set.erase(from);
    if (has) set.insert(to);
}

}  // namespace

void GrantIndex::Put(ClientId id, const GrantFacts& facts) {
    const auto [it, added] = facts_.try_emplace(id);
    GrantFacts& old = it->second;
    // The exact view refers to this copy of the name, which stays put.
    if (added) old.Name = facts.Name;
    const bool had = !added;
    if (had && old.Effective == facts.Effective && old.Output == facts.Output && old.Request == facts.Request &&
        old.Ahead == facts.Ahead && old.Settled == facts.Settled && old.Running == facts.Running &&
        old.Waiting == facts.Waiting)
        return;
    Replace(effective_, had, {old.Effective, id}, true, {facts.Effective, id});
    Replace(output_, had, {old.Output, id}, true, {facts.Output, id});
    Replace(aheadOutput_, had && old.Ahead, {old.Output, id}, facts.Ahead, {facts.Output, id});
    Replace(waitingAhead_, had && old.Ahead && old.Waiting, {old.Request, id}, facts.Ahead && facts.Waiting,
            {facts.Request, id});
    Replace(exact_, had && !old.Ahead, {old.Effective, old.Settled, old.Name, id}, !facts.Ahead,
            {facts.Effective, facts.Settled, old.Name, id});
    exactRunning_ += (!facts.Ahead && facts.Running) - (had && !old.Ahead && old.Running);
    unsettled_ += !facts.Settled - (had && !old.Settled);
    old.Effective = facts.Effective;
    old.Output = facts.Output;
    old.Request = facts.Request;
    old.Ahead = facts.Ahead;
    old.Settled = facts.Settled;
    old.Running = facts.Running;
    old.Waiting = facts.Waiting;
}

void GrantIndex::Remove(ClientId id) {
    const auto it = facts_.find(id);
    if (it == facts_.end()) return;
    const GrantFacts& facts = it->second;
    effective_.erase({facts.Effective, id});
    output_.erase({facts.Output, id});
    if (facts.Ahead) {
        aheadOutput_.erase({facts.Output, id});
        waitingAhead_.erase({facts.Request, id});
    } else {
        exact_.erase({facts.Effective, facts.Settled, facts.Name, id});
        exactRunning_ -= facts.Running;
    }
    unsettled_ -= !facts.Settled;
    facts_.erase(it);
}

double GrantIndex::Earliest() const {
    return Least(effective_);
}

double GrantIndex::LeastOutput() const {
    return Least(output_);
}

double GrantIndex::LeastAheadOutput() const {
    return Least(aheadOutput_);
}

std::optional<GrantIndex::Candidate> GrantIndex::FirstExact() const {
    if (exact_.empty()) return std::nullopt;
    const auto& [effective, settled, name, id] = *exact_.begin();
    return Candidate{id, effective, settled};
}

std::vector<ClientId> GrantIndex::WaitingAheadBefore(double bound) const {
    std::vector<ClientId> ids;
    for (auto it = waitingAhead_.begin(); it != waitingAhead_.end() && it->first < bound; ++it)
        ids.push_back(it->second);
    return ids;
}

}  // namespace zorva::server
