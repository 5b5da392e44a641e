#include "System.h"

namespace padwright::replay {

void UseBinaryStreams() {}

InjectorChoice SystemInjector() {
    return ChooseInjector();
}

} // namespace padwright::replay
