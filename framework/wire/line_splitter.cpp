#include "wire/line_splitter.h"

#include <algorithm>
#include <utility>

namespace zorva {

LineSplitter::LineSplitter(std::size_t maxLine) : maxLine_(std::max<std::size_t>(maxLine, 1)) {}

void LineSplitter::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const auto piece = bytes.substr(0, end);
        if (!discarding_) {
            // One byte of slack for the CR that belongs to the terminator.
            if (partial_.size() + piece.size() > maxLine_ + 1) {
                discarding_ = true;
                ++dropped_;
                partial_.clear();
                partial_.shrink_to_fit();
            } else {
                partial_.append(piece);
            }
        }
        if (end == std::string_view::npos) return;
        EndLine();
        bytes.remove_prefix(end + 1);
    }
}

void LineSplitter::EndLine() {
    if (discarding_) {
        discarding_ = false;
        return;
    }
    if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
    if (partial_.size() > maxLine_) {
        ++dropped_;
        partial_.clear();
        return;
    }
    lines_.push_back(std::move(partial_));
    partial_.clear();
}

std::optional<std::string> LineSplitter::TakeLine() {
    if (lines_.empty()) return std::nullopt;
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

std::size_t LineSplitter::TakeDroppedCount() {
    return std::exchange(dropped_, 0);
}

std::optional<std::string> LineSplitter::TakeRest() {
    const bool wasDiscarding = std::exchange(discarding_, false);
    if (wasDiscarding || partial_.empty()) return std::nullopt;
    std::string rest = std::move(partial_);
    partial_.clear();
    if (rest.back() == '\r') rest.pop_back();
    return rest;
}

}  // namespace zorva
