#include "platform/focus/ForegroundSourceBase.h"

namespace padwright {

void ForegroundSourceBase::Report(const ForegroundProgram& program) {
    if (program == current_)
        return;
    current_ = program;
    // A copy: the watcher may replace itself or end the source's reports while it runs.
    if (auto changed = changed_)
        changed(current_);
}

} // namespace padwright
