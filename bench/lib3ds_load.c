/* Loads a .3ds file with lib3ds and touches every vertex and face. */
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <stdio.h>

int main(int argc, char** argv) {
    Lib3dsFile* f = argc > 1 ? lib3ds_file_load(argv[1]) : NULL;
    if (!f) return 1;
    double sum = 0;
    unsigned long faces = 0;
    for (Lib3dsMesh* m = f->meshes; m; m = m->next) {
        for (unsigned i = 0; i < m->points; ++i) sum += m->pointL[i].pos[0] + m->pointL[i].pos[1];
        for (unsigned i = 0; i < m->faces; ++i) faces += m->faceL[i].points[0];
    }
    printf("%g %lu\n", sum, faces);
    lib3ds_file_free(f);
    return 0;
}
