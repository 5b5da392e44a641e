// The registry view over this platform's backend: what a program that brings no backend of its own
// (the core's tests, a build without Qt) does not link.
#include "store/Registry.h"

namespace padwright {

Registry::Registry() : Registry(OpenUserSettings()) {}

Registry::Registry(const std::string& path) : Registry(OpenSettingsFile(path)) {}

} // namespace padwright
