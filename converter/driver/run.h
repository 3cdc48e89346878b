// The converter's run: one scene from its project and scene files to the
// .m3d file and, when the scene holds collision boxes, the boxes file.
#pragma once

// Runs one conversion with the program's arguments; returns the exit status
// (0 after a complete run, -1 otherwise).
int runZorvex(int argc, char** argv);

// Reads the scene image in sceneBuffer and writes its materials, meshes and
// collision tree to the open meshFile; collision boxes are left in their
// table for the boxes file. Throws ConversionStopped past a capacity.
void convertLoadedScene();

// Returns every process-wide table of the converter to its start state.
void resetConverter();
