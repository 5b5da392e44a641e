#pragma once
// The event loop seam on Qt's loop: QTimer and QSocketNotifier.
#include "platform/eventloop/EventLoop.h"

namespace padwright {

class QtEventLoop final : public IEventLoop {
public:
    std::unique_ptr<ITimer> CreateTimer(int milliseconds, TimerMode mode,
                                        std::function<void()> fire) override;
    std::unique_ptr<IDescriptorWatch> Watch(int descriptor, std::function<void()> ready) override;
};

} // namespace padwright
