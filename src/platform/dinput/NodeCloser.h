#pragma once
// Closing an event node makes the caller wait for the kernel's RCU grace periods (evdev's
// client detach, and the input core's close of its last reader, each wait for one):
// milliseconds each on a quiet machine, tens under load. A scan opens and closes every node,
// and each controller again to read its name, so a rescan after plugging kept the thread that
// reads the other controllers from reading them for that long. Nodes are closed on a thread of
// their own instead.
namespace padwright {

// Closes `fd` soon, on the closing thread; at once on this one if that thread cannot start.
void CloseEventNode(int fd);

} // namespace padwright
