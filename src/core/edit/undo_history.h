#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "core/radio/radio_data.h"

namespace zt {

// The states of the open document a user can step back and forth between.
//
// The history holds whole copies of the document: the state recorded last
// ("current") and the states before it (undo steps) and after it (redo
// steps). Restoring an exact copy brings back everything a step changed, so
// undoing back to the state that was saved leaves the document unmodified.
//
// Two states count as the same when the modified test sees no difference
// between them (texts after the cut, channels by number): a window that only
// rewrites a value in its stored form makes no step.
class UndoHistory {
  public:
    static constexpr std::size_t kDefaultStepLimit = 100;

    // `stepLimit` undo steps are kept (at least one); older ones are dropped.
    explicit UndoHistory(std::size_t stepLimit = kDefaultStepLimit);

    // Forgets every step: `doc` is the state from now on (a new, opened or
    // read document).
    void clear(const RadioDocument& doc);

    // Notes the document after a user action. When it differs from the
    // current state, the current state becomes an undo step, the redo steps
    // are forgotten and true is returned. When it is the same, it silently
    // replaces the current state (so an undo restores the exact bytes the
    // document had before the next change).
    //
    // `typingRun` groups the changes of typing into one box: a change with a
    // run other than 0 that equals the run of the step recorded last is
    // merged into that step instead of making a new one. A merged step that
    // ends where it began (typed, then erased) is dropped.
    bool record(const RadioDocument& doc, std::uint64_t typingRun = 0);

    // Takes `doc` as the current state without making a step and without
    // forgetting redo steps: for values a window writes as it opens (a value
    // shown in its stored form, a list's nearest entry), which are no action
    // of the user's.
    void adopt(const RadioDocument& doc);

    // Steps back: the current state becomes a redo step and the state to
    // restore is returned; nothing when there is no undo step.
    std::optional<RadioDocument> undo();
    // Steps forward again; nothing when there is no redo step.
    std::optional<RadioDocument> redo();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }
    std::size_t stepLimit() const { return limit_; }
    const RadioDocument& current() const { return current_; }

  private:
    std::size_t limit_;
    std::deque<RadioDocument> undo_;  // oldest first
    std::deque<RadioDocument> redo_;  // next redo last
    RadioDocument current_{};
    std::uint64_t lastRun_ = 0;  // typing run of the step recorded last; 0: none to merge into
};

}  // namespace zt
