#pragma once
// The program's main(), for the program and for the builds the tests compare it with.
#include "app/Program.h"

namespace padwright {

int ProgramMain(int argc, char** argv, ReadingPace pace = ReadingPace::SleepAtRest,
                PartsChange change = {});

} // namespace padwright
