#include "core/edit/undo_history.h"

#include <algorithm>
#include <utility>

#include "core/files/document_store.h"

namespace zt {

UndoHistory::UndoHistory(std::size_t stepLimit) : limit_(std::max<std::size_t>(stepLimit, 1)) {}

void UndoHistory::clear(const RadioDocument& doc)
{
    undo_.clear();
    redo_.clear();
    current_ = doc;
    lastRun_ = 0;
}

bool UndoHistory::record(const RadioDocument& doc, std::uint64_t typingRun)
{
    if (!documentsDiffer(doc, current_)) {
        current_ = doc;
        return false;
    }
    redo_.clear();
    if (typingRun != 0 && typingRun == lastRun_ && !undo_.empty()) {
        current_ = doc;
        // Typed and erased again: the run changed nothing, so it is no step.
        if (!documentsDiffer(current_, undo_.back())) {
            undo_.pop_back();
            lastRun_ = 0;
            return false;
        }
        return true;
    }
    undo_.push_back(std::move(current_));
    if (undo_.size() > limit_) undo_.pop_front();
    current_ = doc;
    lastRun_ = typingRun;
    return true;
}

void UndoHistory::adopt(const RadioDocument& doc)
{
    current_ = doc;
    lastRun_ = 0;
}

std::optional<RadioDocument> UndoHistory::undo()
{
    if (undo_.empty()) return std::nullopt;
    redo_.push_back(std::move(current_));
    current_ = std::move(undo_.back());
    undo_.pop_back();
    lastRun_ = 0;
    return current_;
}

std::optional<RadioDocument> UndoHistory::redo()
{
    if (redo_.empty()) return std::nullopt;
    undo_.push_back(std::move(current_));
    current_ = std::move(redo_.back());
    redo_.pop_back();
    lastRun_ = 0;
    return current_;
}

}  // namespace zt
