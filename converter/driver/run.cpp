// The run sequence of zorvex.
#include "driver/run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "collision/boxes.h"
#include "collision/obbtree.h"
#include "driver/console.h"
#include "driver/files.h"
#include "driver/mappaths.h"
#include "export/mesh.h"
#include "export/meshfile.h"
#include "export/textout.h"
#include "scene/chunks.h"
#include "scene/scene.h"

// Lets go of the scene image (the file mapping, if any).
static void releaseScene() {
    unmapInput();
    sceneData = sceneBuffer;
    sceneSize = 0;
}

void resetConverter() {
    resetSceneCounts();
    resetMapPaths();
    resetChunkReader();
    boxCount = 0;
    orientedBoxCount = 0;
    orientedBoxList = -1;
    meshFile = nullptr;
    meshFlush();  // drops anything left from a stopped run
    meshWriteError = 0;
    removeOnInputFault(nullptr);
    releaseScene();
}

void convertLoadedScene() {
    resetChunkReader();
    prepareSceneTables();
    prepareMergeTables();
    orientedBoxList = -1;
    readChunks(0, sceneSize);
    for (int i = 0; i < objectCount; ++i) exportObject(i);
    if (orientedBoxList != -1) writeCollisionTree(orientedBoxList);
}

// The argument is the one file-name buffer: its last three characters are
// replaced by each extension in turn.
static const char* withExtension(std::string& name, const char* extension) {
    name.replace(name.size() - 3, 3, extension);
    return name.c_str();
}

// Maps the scene file, or reads it whole into sceneBuffer where it cannot be
// mapped; -1 when it cannot be opened, read or does not fit.
static int loadScene(const char* path) {
    FILE* f = openInput(path);
    if (!f) {
        int error = errno;
        say("erreur\n");
        sayCause(error);
        return -1;
    }
    long long size = inputSize(f);
    bool tooLarge = size > kSceneBytes;
    const unsigned char* mapped = size > 0 && !tooLarge ? mapInput(f, (size_t)size) : nullptr;
    if (mapped) {
        sceneData = mapped;
        sceneSize = (int32_t)size;
    } else if (!tooLarge) {
        sceneData = sceneBuffer;
        sceneSize = (int32_t)fread(sceneBuffer, 1, kSceneBytes, f);
        if (ferror(f)) {
            int error = errno ? errno : EIO;
            fclose(f);
            sceneSize = 0;
            say("erreur : lecture du fichier source impossible (%s)\n", strerror(error));
            return -1;
        }
        tooLarge = sceneSize == kSceneBytes && fgetc(f) != EOF;
    }
    fclose(f);
    if (tooLarge) {
        say("erreur : fichier source trop grand (plus de %d octets)\n", kSceneBytes);
        return -1;
    }
    return 0;
}

int runZorvex(int argc, char** argv) {
    say("ZORVEX - conversion d'un .prj et d'un .3ds en .m3d\n");
    say("Version 1.1 - janvier 1998\n\n");
    if (argc < 2) {
        say("usage : zorvex source.prj\n");
        return -1;
    }
    bool help = strcmp(argv[1], "-h") == 0 || strcmp(argv[1], "--help") == 0;
    if (help || strcmp(argv[1], "--version") == 0) {
        say("usage : zorvex source.prj\n");
        if (help)
            say("lit source.prj (chemins des textures) et source.3ds (la scene),\n"
                "ecrit source.m3d (materiaux, objets, arbre de collision) et source.box (boites de collision)\n");
        return 0;
    }
    std::string name = argv[1];
    if (name.size() < 3) {
        say("erreur : nom de fichier trop court : %s\n", argv[1]);
        say("usage : zorvex source.prj\n");
        return -1;
    }
    std::string meshPath;
    try {
        addProjectDirectory(name.c_str());
        scanProjectFile(withExtension(name, "prj"));
        say("ouverture du fichier source : %s\n", withExtension(name, "3ds"));
        if (loadScene(name.c_str()) != 0) return -1;
        // an empty file, a text or an image named .3ds gets no mesh file
        if (checkSceneImage() != 0) {
            releaseScene();
            return -1;
        }
        meshPath = withExtension(name, "m3d");
        say("creation du fichier m3d : %s\n", meshPath.c_str());
        meshFile = fopen(meshPath.c_str(), "w");
        if (!meshFile) {
            int error = errno;
            say("erreur\n");
            sayCause(error);
            releaseScene();
            return -1;
        }
        removeOnInputFault(meshPath.c_str());
        convertLoadedScene();
        removeOnInputFault(nullptr);
        releaseScene();
    } catch (const ConversionStopped&) {
        removeOnInputFault(nullptr);
        releaseScene();
        // the scene does not fit: no partial mesh file is left behind
        if (meshFile) {
            meshFlush();
            fclose(meshFile);
            meshFile = nullptr;
            remove(meshPath.c_str());
        }
        return -1;
    }
    say("\n");
    meshFlush();
    int written = fprintf(meshFile, "#materials= %d\n#meshes   = %d\n#vertices = %d (/%d)\n#polygons = %d (/%d)\n",
                          materialsWritten, meshesWritten, verticesWritten, verticesInput, polygonsWritten,
                          facesInput);
    if (written < 0 && !meshWriteError) meshWriteError = errno ? errno : EIO;
    FILE* closing = meshFile;
    meshFile = nullptr;
    if (finishOutput(closing, meshWriteError, meshPath.c_str()) != 0) {
        fflush(nullptr);
        return -1;
    }
    say("materials= %d\nmeshes   = %d\nvertices = %d (/%d)\npolygons = %d (/%d)\n", materialsWritten,
        meshesWritten, verticesWritten, verticesInput, polygonsWritten, facesInput);
    int status = 0;
    if (boxCount != 0 && writeBoxesFile(withExtension(name, "box")) != 0) status = -1;
    fflush(nullptr);
    return status;
}
