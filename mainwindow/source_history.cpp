// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/source_history.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "mainwindow/platform/system_memory.h"

namespace gt {

void SourceHistory::record(SourcePicture before) {
    bytes_ -= [&] {
        std::size_t freed = 0;
        for (const SourcePicture& b : redo_) freed += sizeOf(b);
        return freed;
    }();
    redo_.clear();
    push(undo_, std::move(before));
}

bool SourceHistory::undo(SourcePicture& current) {
    std::optional<SourcePicture> previous = takeUndo();
    if (!previous) return false;
    undone(std::exchange(current, std::move(*previous)));
    return true;
}

bool SourceHistory::redo(SourcePicture& current) {
    std::optional<SourcePicture> next = takeRedo();
    if (!next) return false;
    redone(std::exchange(current, std::move(*next)));
    return true;
}

std::optional<SourcePicture> SourceHistory::takeUndo() {
    if (undo_.empty()) return std::nullopt;
    SourcePicture previous = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= sizeOf(previous);
    return previous;
}

void SourceHistory::undone(SourcePicture current) { push(redo_, std::move(current)); }

std::optional<SourcePicture> SourceHistory::takeRedo() {
    if (redo_.empty()) return std::nullopt;
    SourcePicture next = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= sizeOf(next);
    return next;
}

void SourceHistory::redone(SourcePicture current) {
    // Taking the redo side's picture must not throw away the rest of it.
    undo_.push_back(std::move(current));
    bytes_ += sizeOf(undo_.back());
    fit();
}

void SourceHistory::clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
}

void SourceHistory::setBudget(std::size_t budgetBytes) {
    budget_ = budgetBytes;
    fit();
}

void SourceHistory::push(std::deque<SourcePicture>& side, SourcePicture picture) {
    bytes_ += sizeOf(picture);
    side.push_back(std::move(picture));
    fit();
}

void SourceHistory::fit() {
    while (!undo_.empty() && (bytes_ > budget_ || undo_.size() + redo_.size() > kMaximumSteps)) {
        bytes_ -= sizeOf(undo_.front());
        undo_.pop_front();
    }
    while (!redo_.empty() && (bytes_ > budget_ || redo_.size() > kMaximumSteps)) {
        bytes_ -= sizeOf(redo_.front());
        redo_.pop_front();
    }
}

std::size_t defaultHistoryBudget(std::size_t physicalMemory) {
    return physicalMemory == 0 ? std::size_t(256) << 20 : physicalMemory / 4;
}

std::size_t startupHistoryBudget() {
    if (const char* setting = std::getenv("GRAPHITELLO_UNDO_MB")) {
        const std::string text = setting;
        if (!text.empty() && text.size() < 9 && text.find_first_not_of("0123456789") == std::string::npos)
            return std::size_t(std::stoul(text)) << 20;
    }
    return defaultHistoryBudget(physicalMemoryBytes());
}

}  // namespace gt
