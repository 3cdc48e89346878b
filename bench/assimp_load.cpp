// Imports a file with assimp, without post-processing or with vertex
// joining ("join"), and touches every vertex and face.
#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    unsigned flags = argc > 2 && strcmp(argv[2], "join") == 0 ? aiProcess_JoinIdenticalVertices : 0;
    const aiScene* s = aiImportFile(argv[1], flags);
    if (!s) return 1;
    double sum = 0;
    unsigned long faces = 0;
    for (unsigned m = 0; m < s->mNumMeshes; ++m) {
        const aiMesh* mesh = s->mMeshes[m];
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) sum += mesh->mVertices[i].x;
        for (unsigned i = 0; i < mesh->mNumFaces; ++i) faces += mesh->mFaces[i].mIndices[0];
    }
    printf("%g %lu\n", sum, faces);
    aiReleaseImport(s);
    return 0;
}
