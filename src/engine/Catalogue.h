#pragma once
// The fixed catalogue of 182 functions a control slot can be given.
#include "engine/Records.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace padwright {

struct TFunctionEntry {
    std::string_view Name;
    std::int32_t Code;
    // What the function does, in a user's words, one line: the names are the system's own.
    std::string_view Description;
};

std::span<const TFunctionEntry> AppCommands();    // 20 rows, kind fkAppCommand
std::span<const TFunctionEntry> VirtualKeys();    // 149 rows, kind fkKey
std::span<const TFunctionEntry> MouseFunctions(); // 9 rows, kind fkMouse
std::span<const TFunctionEntry> PowerActions();   // 4 rows, kind fkPower

struct CatalogueMatch {
    std::string_view Name; // empty when nothing matched
    std::int32_t Code = 0;
    std::int32_t Kind = fkNone;
};

// Exact, case-sensitive search of MouseFunctions, AppCommands, VirtualKeys, PowerActions in that
// order; no match gives the empty result (no name, code 0, kind fkNone). "NONE" is no row.
CatalogueMatch LookupFunction(std::string_view name);

// The description of the row named `name`; empty for "NONE" and names of no row.
std::string_view FunctionDescription(std::string_view name);

// Sets FunctionName, Code and Kind of `mapping` together from the row named `name`, or clears
// all three when there is no such row. Nothing else of the mapping changes.
void AssignFunction(TControlMapping& mapping, std::string_view name);

// Mouse function codes.
enum TMouseFunction : std::int32_t {
    mfMoveXNeg = 1,
    mfMoveXPos = 2,
    mfMoveYNeg = 3,
    mfMoveYPos = 4,
    mfLeftClick = 5,
    mfRightClick = 6,
    mfMiddleClick = 7,
    mfWheelForward = 8,
    mfWheelBack = 9,
};

} // namespace padwright
