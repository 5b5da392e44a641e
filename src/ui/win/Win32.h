#pragma once
// The Windows headers for the dialogs, after the seams whose constants (FAILED, MAPVK_*,
// KEYEVENTF_*, EWX_*, ...) the Windows headers define as macros of the same values: included
// before, the seams' own declarations would meet the macros.
#include "platform/dinput/DirectInput.h"
#include "platform/inject/Injector.h"
#include "platform/session/Session.h"

#include <windows.h>
