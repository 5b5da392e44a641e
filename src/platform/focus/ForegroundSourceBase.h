#pragma once
// What every source shares: the program last reported, the watcher and whether the desktop can
// be followed. A source hands each report to Report(), which tells the watcher only of changes.
#include "platform/focus/ForegroundProgram.h"

#include <string>
#include <utility>

namespace padwright {

class ForegroundSourceBase : public IForegroundSource {
public:
    bool Available() const override { return unavailable_.empty(); }
    std::string Unavailable() const override { return unavailable_; }
    void Watch(std::function<void(const ForegroundProgram&)> changed) override {
        changed_ = std::move(changed);
    }
    ForegroundProgram Current() const override { return current_; }

protected:
    void Report(const ForegroundProgram& program);
    // From now on the source is not available, for the reason given (a sentence).
    void SetUnavailable(std::string why) { unavailable_ = std::move(why); }
    void SetAvailable() { unavailable_.clear(); }

private:
    std::function<void(const ForegroundProgram&)> changed_;
    ForegroundProgram current_;
    std::string unavailable_;
};

// A desktop Padwright cannot follow: never reports, and says why.
class NoForegroundSource final : public ForegroundSourceBase {
public:
    explicit NoForegroundSource(std::string why) { SetUnavailable(std::move(why)); }
    std::string Kind() const override { return {}; }
    std::vector<ForegroundProgram> OpenWindows() const override { return {}; }
};

} // namespace padwright
