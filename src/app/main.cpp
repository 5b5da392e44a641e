#include "app/ProgramMain.h"

int main(int argc, char** argv) {
    return padwright::ProgramMain(argc, argv);
}
