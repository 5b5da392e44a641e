// The program with its reader on the timer at rest, as before it learnt to sleep.
#include "app/ProgramMain.h"

int main(int argc, char** argv) {
    return padwright::ProgramMain(argc, argv, padwright::ReadingPace::PollAtRest);
}
