#pragma once
// Injection through a kernel virtual input device. The device itself sits behind
// IUinputWriter, so the translation from Windows calls to kernel events runs without
// /dev/uinput in tests and benchmarks.
#include "platform/inject/Injector.h"
#include "platform/inject/KeyPlacement.h"
#include "platform/inject/MouseEvents.h"

#include <linux/input.h>

#include <bitset>
#include <memory>
#include <span>

namespace padwright {

class IUinputWriter {
public:
    virtual ~IUinputWriter() = default;
    // Hands the kernel a whole batch at once; the batch carries its own SYN_REPORTs.
    virtual void Write(std::span<const input_event> events) = 0;
};

class UinputInjector : public IInputInjector {
public:
    // `layout` nullptr: keys go by the US layout.
    explicit UinputInjector(std::unique_ptr<IUinputWriter> writer,
                            std::unique_ptr<ILayoutSource> layout = nullptr);
    // Lets go of every key and button still held, so none stays stuck after the program ends.
    ~UinputInjector() override;

    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override;
    void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override;
    void SendAppCommand(std::uint32_t lParam) override;

private:
    class Batch;
    void Key(Batch& batch, std::uint16_t code, bool down);

    std::unique_ptr<IUinputWriter> writer_;
    KeyPlacement keys_;
    std::bitset<KEY_CNT> held_;
    WheelNotches wheel_;
};

// Linux button codes of the mouse buttons.
std::uint16_t LinuxButtonCode(MouseButton button);

} // namespace padwright
