#pragma once
// What the replay takes from the system it runs on: standard streams that pass bytes as they
// are, and the real injector for --inject.
#include "platform/inject/InjectorChoice.h"

namespace padwright::replay {

// On Windows the streams are in text mode and would print every "\n" as "\r\n"; the replay
// prints the same bytes on every system.
void UseBinaryStreams();

// The injector that reaches the desktop, with how far its input goes.
InjectorChoice SystemInjector();

} // namespace padwright::replay
