// The register program on its board: the real board is the default Board.
#include "app/run_modes.h"

int main(int argc, char** argv) { return runRegister(argc, argv); }
