#pragma once
// What a function of the catalogue does, in the words the editor and the panel's tooltips show:
// the catalogue's description, and for a key placed by its position (or a letter the layout
// lacks) what that key types on the layout the injector follows.
#include <QString>

namespace padwright {

class IInputInjector;

// Empty for "NONE" or an empty name. `injector` null: the description alone.
QString FunctionWords(const QString& functionName, IInputInjector* injector);

} // namespace padwright
