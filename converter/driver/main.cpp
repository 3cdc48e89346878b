// zorvex: converts a 3D Studio project and scene into the platform's mesh file.
#include "driver/run.h"

int main(int argc, char** argv) { return runZorvex(argc, argv); }
