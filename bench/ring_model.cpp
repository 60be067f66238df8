#include "ring_model.h"

#include "wire/line_kinds.h"
#include "wire/line_splitter.h"
#include "wire/protocol.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

namespace zorva::bench {
namespace {

class RawLink {
public:
    ~RawLink() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Open(std::uint16_t port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    bool Send(const std::string& line) {
        const std::string bytes = line + "\r\n";
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }
    std::optional<std::string> Read() {
        while (true) {
            if (auto line = splitter_.TakeLine()) return line;
            char buffer[4096];
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) return std::nullopt;
            splitter_.Feed({buffer, static_cast<std::size_t>(got)});
        }
    }

private:
    int fd_ = -1;
    LineSplitter splitter_;
};

// What the model waits for after a request, and what it says meanwhile.
class Waiter {
public:
    Waiter(RawLink& link, const RingModelPlan& plan, RingModelResult& result)
        : link_(link), plan_(plan), result_(result) {}

    // The line that ends the wait (a grant, a horizon, a stop), or nullopt
    // once the connection is gone. Texts are handled on the way: they count,
    // and without lookahead each is reported with the unchanged request.
    std::optional<LineMatch> Until(double request, std::string& holder) {
        while (auto line = link_.Read()) {
            holder = std::move(*line);
            const LineMatch match = MatchLineToModel(holder);
            if (match.Kind == LineKind::From) {
                ++handled_;
                if (!link_.Send(Request(request, true))) return std::nullopt;
                continue;
            }
            if (match.Kind == LineKind::Continue || match.Kind == LineKind::Horizon || match.Kind == LineKind::Stop ||
                match.Kind == LineKind::Answer)
                return match;
            result_.Problem = "unexpected line: " + holder;
            return std::nullopt;
        }
        if (result_.Problem.empty()) result_.Problem = "connection closed";
        return std::nullopt;
    }
    // Asks for an event at `time`. After a text handed over between steps
    // a model without lookahead reports its earliest event; one with asks
    // again, counting the text.
    std::string Request(double time, bool afterText) const {
        if (plan_.Lookahead > 0) return Line(LineKind::Ahead, JoinFields({FormatTime(time), std::to_string(handled_)}));
        return Line(afterText ? LineKind::NewEvent : LineKind::Continue, FormatTime(time));
    }

private:
    RawLink& link_;
    const RingModelPlan& plan_;
    RingModelResult& result_;
    long handled_ = 0;
};

}  // namespace

RingModelResult RunRingModel(const RingModelPlan& plan) {
    RingModelResult result;
    RawLink link;
    std::string line;
    if (!link.Open(plan.Port) || !link.Read() || !link.Send(Line(LineKind::Name, plan.Name))) {
        result.Problem = "cannot register";
        return result;
    }
    Waiter waiter(link, plan, result);
    const bool ahead = plan.Lookahead > 0;
    if (ahead) {
        const std::string question = std::string(kLookaheadQuestion) + " " + FormatTime(plan.Lookahead);
        link.Send(Line(LineKind::Question, JoinFields({"1", "server", question})));
        const auto answer = waiter.Until(0, line);
        if (!answer || answer->Kind != LineKind::Answer || !answer->Fields.ends_with(question)) {
            result.Problem = "lookahead refused";
            return result;
        }
    }
    const std::string text = plan.Next + std::string(kFieldSeparator) + "ship";
    double next = plan.FirstEvent;
    bool ending = false;
    while (true) {
        const double request = ending ? plan.Until : next;
        const auto answer = link.Send(waiter.Request(request, false)) ? waiter.Until(request, line) : std::nullopt;
        if (!answer) return result;
        if (answer->Kind == LineKind::Stop) {
            ending = true;
            continue;
        }
        ++result.Grants;
        if (ending) return result;
        const double horizon = answer->Kind == LineKind::Horizon ? *ParseTime(answer->Fields) : next;
        // Without lookahead the grant is for the one event asked for.
        do {
            const bool delivered = ahead ? link.Send(Line(LineKind::Send, JoinFields({FormatTime(next), text})))
                                         : link.Send(Line(LineKind::ToClient, text));
            if (!delivered) {
                result.Problem = "connection closed";
                return result;
            }
            ++result.Events;
            next += plan.Period;
        } while (ahead && next < horizon);
    }
}

}  // namespace zorva::bench
