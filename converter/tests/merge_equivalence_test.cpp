// The hashed vertex and face merges against the plain quadratic scans they
// replace: on many random objects built to hit every joining rule, both must
// leave every table field and count exactly alike.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "driver/run.h"
#include "export/mesh.h"
#include "scene/scene.h"
#include "support.h"

namespace {

// --- the plain scans, kept as the reference

int referenceMergeVertices(int object) {
    const SceneObject& o = objects[object];
    int32_t first = o.firstVertex, end = o.firstVertex + o.vertexCount;
    int distinct = 0;
    for (int32_t i = first; i < end; ++i) {
        for (int32_t j = i; j >= first; --j)
            if (vertices[j].x == vertices[i].x && vertices[j].y == vertices[i].y && vertices[j].z == vertices[i].z)
                vertices[i].merged = j;
        if (vertices[i].merged == i) ++distinct;
    }
    return distinct;
}

// The triangle-pair join written as its rule table, as data: face i picks a
// rule set by its first hidden edge (corner0-corner1, then corner2-corner0,
// then corner1-corner2); the rules of the set are tried, in order, on every
// earlier face j with the same flags and material, and the first that
// applies makes face i a quad of its four new corners and removes face j.
// Corner names: I0..I2 are face i's corners, J0..J2 face j's.
enum Corner { I0, I1, I2, J0, J1, J2 };
struct JoinRule {
    int jHiddenEdge;                  // edge-flag value that must be clear in face j
    Corner equalA[2], equalB[2];      // the two corners of i and j that must coincide
    Corner newCorners[4];             // face i's corner0..corner3 after the join
};
struct RuleSet {
    int iHiddenEdge;  // edge-flag value clear in face i that selects this set
    JoinRule rules[3];
};
const RuleSet kRuleSets[3] = {
    {4, {{1, {I0, J0}, {I1, J2}, {J1, I1, I2, I0}},
         {2, {I0, J2}, {I1, J1}, {J0, I1, I2, I0}},
         {4, {I0, J1}, {I1, J0}, {J2, I1, I2, I0}}}},
    {1, {{1, {I2, J0}, {I0, J2}, {I0, I1, I2, J1}},
         {2, {I2, J2}, {I0, J1}, {I0, I1, I2, J0}},
         {4, {I2, J1}, {I0, J0}, {I0, I1, I2, J2}}}},
    {2, {{1, {I1, J0}, {I2, J2}, {I0, I1, J1, I2}},
         {2, {I1, J2}, {I2, J1}, {I0, I1, J0, I2}},
         {4, {I1, J1}, {I2, J0}, {I0, I1, J2, I2}}}},
};

int referenceMergeFaces(int object) {
    const SceneObject& o = objects[object];
    int count = o.faceCount;
    for (int32_t i = o.firstFace; i < o.firstFace + o.faceCount; ++i) {
        SceneFace& f = faces[i];
        int32_t m[3] = {vertices[f.corner0].merged, vertices[f.corner1].merged, vertices[f.corner2].merged};
        if (m[0] == m[1] || m[1] == m[2] || m[2] == m[0]) {
            f.flags = -1;
            --count;
            continue;
        }
        const RuleSet* set = nullptr;
        for (const RuleSet& candidate : kRuleSets)
            if (!(f.edgeFlags & candidate.iHiddenEdge)) {
                set = &candidate;
                break;
            }
        if (!set) continue;
        for (int32_t j = o.firstFace; j < i; ++j) {
            SceneFace& g = faces[j];
            if (g.flags != f.flags || g.material != f.material) continue;
            const int32_t corner[6] = {f.corner0, f.corner1, f.corner2, g.corner0, g.corner1, g.corner2};
            const JoinRule* hit = nullptr;
            for (const JoinRule& r : set->rules)
                if (!(g.edgeFlags & r.jHiddenEdge) && corner[r.equalA[0]] == corner[r.equalA[1]] &&
                    corner[r.equalB[0]] == corner[r.equalB[1]]) {
                    hit = &r;
                    break;
                }
            if (!hit) continue;
            f.corner0 = corner[hit->newCorners[0]];
            f.corner1 = corner[hit->newCorners[1]];
            f.corner2 = corner[hit->newCorners[2]];
            f.corner3 = corner[hit->newCorners[3]];
            f.flags = (int16_t)(f.flags | 0x08);
            g.flags = -1;
            --count;
            break;
        }
    }
    return count;
}

// --- random objects

struct Snapshot {
    std::vector<SceneVertex> v;
    std::vector<SceneFace> f;
};

Snapshot take(const SceneObject& o) {
    Snapshot s;
    s.v.assign(vertices + o.firstVertex, vertices + o.firstVertex + o.vertexCount);
    s.f.assign(faces + o.firstFace, faces + o.firstFace + o.faceCount);
    return s;
}

void restore(const SceneObject& o, const Snapshot& s) {
    std::copy(s.v.begin(), s.v.end(), vertices + o.firstVertex);
    std::copy(s.f.begin(), s.f.end(), faces + o.firstFace);
}

bool sameFace(const SceneFace& a, const SceneFace& b) {
    return a.flags == b.flags && a.material == b.material && a.corner0 == b.corner0 && a.corner1 == b.corner1 &&
           a.corner2 == b.corner2 && a.edgeFlags == b.edgeFlags &&
           ((a.flags != -1 && (a.flags & 0x08)) ? a.corner3 == b.corner3 : true);
}

// Faces are mostly built on edges of earlier faces (either direction), with
// few positions so that vertices repeat and faces collapse.
void randomObject(std::mt19937& rng, int firstVertex, int firstFace, int vertexCount, int faceCount, int positions) {
    objects[0] = SceneObject{"o", firstVertex, firstFace, vertexCount, faceCount, 0};
    objectCount = 1;
    auto pick = [&](int n) { return (int)(rng() % (unsigned)n); };
    for (int i = 0; i < vertexCount; ++i) {
        int p = pick(positions);
        vertices[firstVertex + i] = SceneVertex{p % 7, p / 7 % 5, p / 35, (int16_t)pick(300), (int16_t)pick(300), -7};
    }
    for (int i = 0; i < faceCount; ++i) {
        int32_t a = pick(vertexCount), b = pick(vertexCount), c = pick(vertexCount);
        if (i > 0 && pick(4) != 0) {  // share an edge of an earlier face
            const SceneFace& g = faces[firstFace + pick(i)];
            int32_t gc[3] = {g.corner0 - firstVertex, g.corner1 - firstVertex, g.corner2 - firstVertex};
            int e = pick(3);
            int32_t u = gc[e], w = gc[(e + 1) % 3];
            if (pick(5) != 0) std::swap(u, w);  // mostly the reversed edge
            int slot = pick(3);
            int32_t cs[3];
            cs[slot] = u;
            cs[(slot + 1) % 3] = w;
            cs[(slot + 2) % 3] = c;
            a = cs[0]; b = cs[1]; c = cs[2];
        }
        int16_t flags = pick(6) == 0 ? 0x81 : 1;
        int32_t material = pick(5) == 0 ? pick(3) - 1 : 0;
        faces[firstFace + i] = makeFace(flags, material, firstVertex + a, firstVertex + b, firstVertex + c, -9,
                                        (int16_t)pick(8));
    }
}

void expectSameMerges(const char* what) {
    SCOPED_TRACE(what);
    const SceneObject& o = objects[0];
    Snapshot before = take(o);
    int refV = referenceMergeVertices(0), refF = referenceMergeFaces(0);
    Snapshot ref = take(o);
    restore(o, before);
    int v = mergeVertices(0), f = mergeFaces(0);
    Snapshot got = take(o);
    ASSERT_EQ(refV, v);
    ASSERT_EQ(refF, f);
    for (size_t i = 0; i < ref.v.size(); ++i) ASSERT_EQ(ref.v[i].merged, got.v[i].merged) << "vertex " << i;
    for (size_t i = 0; i < ref.f.size(); ++i) ASSERT_TRUE(sameFace(ref.f[i], got.f[i])) << "face " << i;
}

TEST(MergeEquivalence, RandomObjects) {
    std::mt19937 rng(12345);
    int joined = 0;
    for (int round = 0; round < 3000; ++round) {
        resetConverter();
        int vertexCount = 3 + (int)(rng() % 60), faceCount = 1 + (int)(rng() % 120);
        int firstVertex = (int)(rng() % 1000), firstFace = (int)(rng() % 1000);
        randomObject(rng, firstVertex, firstFace, vertexCount, faceCount, 4 + (int)(rng() % 200));
        expectSameMerges("random");
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
        for (int i = 0; i < faceCount; ++i) {
            if (faces[firstFace + i].flags != -1 && (faces[firstFace + i].flags & 0x08)) ++joined;
        }
    }
    // the generator must reach the joining rules, not only degenerate faces
    EXPECT_GT(joined, 10000);
}

// Worst cases of the scans: a large grid of quads split along hidden
// diagonals, and an object whose vertices all share one position.
TEST(MergeEquivalence, LargeGridAndOnePosition) {
    resetConverter();
    const int n = 120;
    int vc = (n + 1) * (n + 1);
    objects[0] = SceneObject{"grid", 0, 0, vc, 2 * n * n, 0};
    for (int i = 0; i < vc; ++i) vertices[i] = SceneVertex{i % (n + 1), 0, i / (n + 1), 0, 0, 0};
    int k = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x, b = a + 1, c = a + n + 2, d = a + n + 1;
            faces[k++] = makeFace(1, 0, a, b, c, 0, 6);
            faces[k++] = makeFace(1, 0, a, c, d, 0, 3);
        }
    expectSameMerges("grid");
    int quads = 0;
    for (int i = 0; i < 2 * n * n; ++i) quads += faces[i].flags == (1 | 0x08);
    EXPECT_EQ(n * n, quads);

    resetConverter();
    objects[0] = SceneObject{"point", 0, 0, 3000, 1000, 0};
    for (int i = 0; i < 3000; ++i) vertices[i] = SceneVertex{5, 5, 5, 0, 0, 0};
    for (int i = 0; i < 1000; ++i) faces[i] = makeFace(1, 0, 3 * i, 3 * i + 1, 3 * i + 2, 0, 0);
    expectSameMerges("one position");
}

}  // namespace
