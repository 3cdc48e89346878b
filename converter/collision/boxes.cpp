// Collision boxes and the boxes file. All plane arithmetic is 32-bit two's
// complement, as the runtime computes it: sums and products wrap.
#include "collision/boxes.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/console.h"
#include "driver/files.h"

CollisionBox boxes[kMaxBoxes];
int boxCount;

namespace {

int32_t wrapAdd(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }
int32_t wrapSub(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b); }
int32_t wrapMul(int32_t a, int32_t b) { return (int32_t)((uint32_t)a * (uint32_t)b); }

// Plane value: normal . point + offset, wrapping.
int32_t planeValue(const int16_t n[3], int32_t x, int32_t y, int32_t z, int32_t offset) {
    return wrapAdd(wrapAdd(wrapAdd(wrapMul(n[0], x), wrapMul(n[1], y)), wrapMul(n[2], z)), offset);
}

// The leading decimal integer of text: optional sign, digits; 0 without digits.
int32_t leadingInteger(const char* text) {
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (value <= INT32_MAX) value = value * 10 + (*text - '0');
    if (value > INT32_MAX) value = negative ? (int64_t)INT32_MAX + 1 : INT32_MAX;
    return (int32_t)(negative ? -value : value);
}

}  // namespace

void faceNormal(int32_t a, int32_t b, int32_t c, int16_t normal[3]) {
    const SceneVertex &pa = vertices[a], &pb = vertices[b], &pc = vertices[c];
    int32_t ux = wrapSub(pb.x, pa.x), uy = wrapSub(pb.y, pa.y), uz = wrapSub(pb.z, pa.z);
    int32_t wx = wrapSub(pc.x, pa.x), wy = wrapSub(pc.y, pa.y), wz = wrapSub(pc.z, pa.z);
    int32_t nx = wrapSub(wrapMul(uy, wz), wrapMul(wy, uz));
    int32_t ny = wrapSub(wrapMul(uz, wx), wrapMul(wz, ux));
    int32_t nz = wrapSub(wrapMul(ux, wy), wrapMul(wx, uy));
    int64_t m = llabs(nx);
    if (llabs(ny) > m) m = llabs(ny);
    if (llabs(nz) > m) m = llabs(nz);
    while (m > 32767) {
        m >>= 1;
        nx >>= 1;
        ny >>= 1;
        nz >>= 1;
    }
    auto squares = [&] {
        return (uint32_t)nx * (uint32_t)nx + (uint32_t)ny * (uint32_t)ny + (uint32_t)nz * (uint32_t)nz;
    };
    uint32_t s = squares();
    if (s == 0) {
        s = 0x10000000;
    } else {
        while (s < 0x10000000) {
            nx *= 2;
            ny *= 2;
            nz *= 2;
            s = squares();
        }
    }
    s >>= 14;
    uint32_t r = s;
    for (int k = 0; k < 10; ++k) r = (r + (s * 16384u) / r) / 2;
    normal[0] = (int16_t)((int64_t)nx * kUnit / (int64_t)r);
    normal[1] = (int16_t)((int64_t)ny * kUnit / (int64_t)r);
    normal[2] = (int16_t)((int64_t)nz * kUnit / (int64_t)r);
}

void buildCollisionBox(int object) {
    const SceneObject& o = objects[object];
    progressMark('b');
    if (boxCount >= kMaxBoxes)
        stopConversion("erreur : capacite depassee : plus de %d boites de collision\n", kMaxBoxes);
    CollisionBox& box = boxes[boxCount];
    memcpy(box.name, o.name, sizeof box.name);
    box.id = leadingInteger(o.name + 4);
    int k = 0;
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount && k < 8; ++i) {
        if (vertices[i].merged != i) continue;
        box.corner[k][0] = vertices[i].x;
        box.corner[k][1] = vertices[i].y;
        box.corner[k][2] = vertices[i].z;
        ++k;
    }
    k = 0;
    for (int32_t i = o.firstFace; i < o.firstFace + o.faceCount && k < 6; ++i) {
        const SceneFace& f = faces[i];
        if (f.flags == kFaceGone) continue;
        faceNormal(f.corner0, f.corner1, f.corner2, box.planeNormal[k]);
        const SceneVertex& v = vertices[f.corner0];
        box.planeOffset[k] = wrapSub(0, planeValue(box.planeNormal[k], v.x, v.y, v.z, 0));
        ++k;
    }
    ++boxCount;
}

int32_t innerRadius(const CollisionBox& box, int32_t center[3]) {
    int32_t p[3];
    for (int a = 0; a < 3; ++a) {
        uint32_t sum = 0;
        for (int k = 0; k < 8; ++k) sum += (uint32_t)box.corner[k][a];
        p[a] = (int32_t)(sum << 11);
        center[a] = p[a];
    }
    int32_t best = 0;
    int steps = 0;
    while (steps < 5) {
        int32_t least = 0;
        int nearest = 0;
        for (int f = 0; f < 6; ++f) {
            int32_t value = planeValue(box.planeNormal[f], p[0] >> 14, p[1] >> 14, p[2] >> 14,
                                       box.planeOffset[f]);
            if (f == 0 || value < least) {
                least = value;
                nearest = f;
            }
        }
        if (least <= 0) {
            say("boite degeneree %x %s\n", (unsigned)least, box.name);
            return 0;
        }
        // one scene unit away from the nearest face
        for (int a = 0; a < 3; ++a) p[a] = wrapAdd(p[a], box.planeNormal[nearest][a]);
        ++steps;
        if (least > best) {
            best = least;
            steps = 0;
        }
    }
    return best >> 14;
}

static bool cornerInside(const CollisionBox& p, const int32_t c[3]) {
    for (int f = 0; f < 6; ++f)
        if (wrapAdd(planeValue(p.planeNormal[f], c[0], c[1], c[2], p.planeOffset[f]), 32768) < 0)
            return false;
    return true;
}

int boxesOverlap(const CollisionBox& p, const CollisionBox& q) {
    for (int k = 0; k < 8; ++k)
        if (cornerInside(p, q.corner[k])) return 1;
    for (int k = 0; k < 8; ++k)
        if (cornerInside(q, p.corner[k])) return 1;
    return 0;
}

// Writes to the boxes file, remembering why the first failed write failed.
static int boxWriteError;
__attribute__((format(printf, 2, 3))) static void put(FILE* file, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    if (vfprintf(file, fmt, ap) < 0 && !boxWriteError) boxWriteError = errno ? errno : EIO;
    va_end(ap);
}

int writeBoxesFile(const char* path) {
    say("creation du fichier boites : %s\n", path);
    FILE* file = fopen(path, "w");
    if (!file) {
        int error = errno;
        say("erreur\n");
        sayCause(error);
        return -1;
    }
    boxWriteError = 0;
    put(file, "%d\n", boxCount);
    int32_t rmin = 0, rmax = 0;
    for (int b = 0; b < boxCount; ++b) {
        const CollisionBox& box = boxes[b];
        progressMark('.');
        int32_t center[3];
        int32_t radius = innerRadius(box, center);
        if (b == 0 || radius < rmin) rmin = radius;
        if (b == 0 || radius > rmax) rmax = radius;
        put(file, " %d  %d\n  %x %x %x\n", box.id, radius, (unsigned)center[0], (unsigned)center[1],
            (unsigned)center[2]);
        for (int f = 0; f < 6; ++f)
            put(file, "  %x %x %x %x\n", (unsigned)(uint16_t)box.planeNormal[f][0],
                (unsigned)(uint16_t)box.planeNormal[f][1], (unsigned)(uint16_t)box.planeNormal[f][2],
                (unsigned)box.planeOffset[f]);
    }
    put(file, "\n");
    say("\n");
    int links = 0, onLine = 0;
    for (int i = 1; i < boxCount; ++i) {
        for (int j = 0; j < i; ++j) {
            if (!boxesOverlap(boxes[i], boxes[j])) continue;
            progressMark('.');
            put(file, "%d %d", i, j);
            ++links;
            if (++onLine == 9) {
                put(file, "\n");
                onLine = 0;
            } else {
                put(file, "  ");
            }
        }
    }
    put(file, "\n-1 -1\n");
    say("\nnbox=%d nlink=%d rmin=%d rmax=%d\n", boxCount, links, rmin, rmax);
    return finishOutput(file, boxWriteError, path);
}
