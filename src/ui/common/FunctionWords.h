#pragma once
// What a function of the catalogue does, in the words the editor and the panel's tooltips show:
// the catalogue's description, and for a key placed by its position (or a letter the layout
// lacks) what that key types on the layout the injector follows.
#include <string>
#include <string_view>

namespace padwright {

class IInputInjector;

// Empty for "NONE" or an empty name. `injector` null: the description alone.
std::string FunctionWords(std::string_view functionName, IInputInjector* injector);

} // namespace padwright
