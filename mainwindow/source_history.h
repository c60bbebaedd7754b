// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps the source picture went through, to take them back and forth: every change to the photo
// (the enhancements, resize, retouch, paste, swap, revert) leaves the picture it replaced here. The
// pictures are big, so the history keeps to a memory budget and drops its oldest steps first. Each
// picture keeps its whole recipe (the steps that made it from the opened file), not the step that
// made it, so dropping the oldest pictures leaves every recipe that can still come back complete.

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

#include "imaging/bitmap.h"
#include "pipeline/drawing_recipe.h"

namespace gt {

// A photo with the steps that made it from the opened file.
struct SourcePicture {
    SourcePicture(Bitmap p = {}, SourceRecipe r = {}) : picture(std::move(p)), recipe(std::move(r)) {}
    Bitmap picture;
    SourceRecipe recipe;
};

class SourceHistory {
public:
    static constexpr std::size_t kMaximumSteps = 100;

    explicit SourceHistory(std::size_t budgetBytes) : budget_(budgetBytes) {}

    // A change is about to replace `before`: it becomes the step to undo, and the steps undone so
    // far can no longer be redone. A picture larger than the whole budget empties the history.
    void record(SourcePicture before);
    // Takes the last change back: `current` goes to the redo side and the picture before it comes
    // back. False (and `current` untouched) when there is nothing to undo.
    bool undo(SourcePicture& current);
    // Makes the last undone change again; false when there is nothing to redo.
    bool redo(SourcePicture& current);
    // Undo and redo in two halves, for a window that makes the picture's view meanwhile: the picture
    // to bring back leaves the history (nothing when there is none), then the one it replaced goes to
    // the other side.
    std::optional<SourcePicture> takeUndo();
    void undone(SourcePicture current);
    std::optional<SourcePicture> takeRedo();
    void redone(SourcePicture current);
    // A new photo: the old one's steps mean nothing for it.
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }
    std::size_t bytes() const { return bytes_; }
    std::size_t budget() const { return budget_; }
    // A smaller budget drops the oldest steps at once.
    void setBudget(std::size_t budgetBytes);

private:
    static std::size_t sizeOf(const SourcePicture& s) {
        return std::size_t(s.picture.width()) * std::size_t(s.picture.height()) * 3;
    }
    void push(std::deque<SourcePicture>& side, SourcePicture picture);
    void fit();  // drops the oldest undo steps, then the furthest redo steps, until within the budget

    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::deque<SourcePicture> undo_;  // oldest first
    std::deque<SourcePicture> redo_;  // the next to redo last
};

// The default budget: a quarter of the machine's memory (256 MB when the system does not say).
std::size_t defaultHistoryBudget(std::size_t physicalMemory);
// The budget at start-up: GRAPHITELLO_UNDO_MB megabytes when that is set to a number, else the default.
std::size_t startupHistoryBudget();

}  // namespace gt
