#pragma once
// What a reader sleeps on until a device has input: a descriptor on Linux; on Windows an
// event's HANDLE as HandleToLong gives it, which keeps every kernel handle whole (Windows
// handles have 32 significant bits so that 32- and 64-bit processes can share them).
// Apart from DirectInput.h, so that code that includes the Windows headers can use it.

namespace padwright {

using WaitHandle = int;
constexpr WaitHandle NoWaitHandle = -1;

} // namespace padwright
