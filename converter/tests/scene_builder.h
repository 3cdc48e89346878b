// A small writer of .3ds scenes for the tests: each helper returns the bytes
// of one chunk, so a test states its scene as nested calls.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace sb {

using Bytes = std::string;

inline Bytes u16(uint32_t v) { return Bytes{char(v & 0xFF), char((v >> 8) & 0xFF)}; }
inline Bytes u32(uint32_t v) {
    return Bytes{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}
inline Bytes f32(float f) {
    uint32_t bits;
    static_assert(sizeof bits == sizeof f, "32-bit float");
    __builtin_memcpy(&bits, &f, sizeof f);
    return u32(bits);
}
inline Bytes cstr(const std::string& s) { return s + Bytes(1, '\0'); }
inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out += p;
    return out;
}

// A chunk with its length computed from its payload.
inline Bytes chunk(uint16_t id, const Bytes& payload) { return u16(id) + u32(6 + payload.size()) + payload; }
// A chunk whose stored length is given as is (for damaged files).
inline Bytes rawChunk(uint16_t id, uint32_t length, const Bytes& payload) { return u16(id) + u32(length) + payload; }

// Whole file: root chunk, version, scene data, optional keyframe section.
inline Bytes scene(std::initializer_list<Bytes> contents, bool keyframes = true) {
    Bytes data = chunk(0x3D3E, u32(3)) + chunk(0x0100, f32(1.0f));  // mesh version, master scale
    for (const Bytes& c : contents) data += c;
    Bytes kf = keyframes ? chunk(0xB000, chunk(0xB00A, u16(5) + cstr("") + u32(100)) +
                                              chunk(0xB002, chunk(0xB010, cstr("x") + u16(0) + u16(0) + u16(0xFFFF))))
                         : Bytes();
    return chunk(0x4D4D, chunk(0x0002, u32(3)) + chunk(0x3D3D, data) + kf);
}

// Materials.
inline Bytes color24(int r, int g, int b) { return chunk(0x0011, Bytes{char(r), char(g), char(b)}); }
inline Bytes colorFloat(float r, float g, float b) { return chunk(0x0010, f32(r) + f32(g) + f32(b)); }
inline Bytes percent(int p) { return chunk(0x0030, u16((uint16_t)p)); }
inline Bytes ambient(int r, int g, int b) { return chunk(0xA010, color24(r, g, b) + colorFloat(0.1f, 0.2f, 0.3f)); }
inline Bytes diffuse(int r, int g, int b) { return chunk(0xA020, color24(r, g, b)); }
inline Bytes specular(int r, int g, int b) { return chunk(0xA030, color24(r, g, b)); }
inline Bytes transparency(int p) { return chunk(0xA050, percent(p)); }
inline Bytes twoSided() { return chunk(0xA081, Bytes()); }
inline Bytes textureMap(const std::string& file, int strength = -1) {
    return chunk(0xA200, (strength >= 0 ? percent(strength) : Bytes()) + chunk(0xA300, cstr(file)));
}
// A map other than the first texture (opacity 0xA210, bump 0xA230, ...).
inline Bytes otherMap(uint16_t id, const std::string& file, int strength = 100) {
    return chunk(id, percent(strength) + chunk(0xA300, cstr(file)));
}
inline Bytes material(const std::string& name, std::initializer_list<Bytes> props = {}) {
    Bytes data = chunk(0xA000, cstr(name));
    for (const Bytes& p : props) data += p;
    return chunk(0xAFFF, data);
}

// Objects.
struct V3 { float x, y, z; };
struct UV { float u, v; };
struct Tri { int a, b, c, flags; };

inline Bytes vertexList(const std::vector<V3>& vs) {
    Bytes data = u16((uint16_t)vs.size());
    for (const V3& v : vs) data += f32(v.x) + f32(v.y) + f32(v.z);
    return chunk(0x4110, data);
}
inline Bytes uvList(const std::vector<UV>& uvs) {
    Bytes data = u16((uint16_t)uvs.size());
    for (const UV& t : uvs) data += f32(t.u) + f32(t.v);
    return chunk(0x4140, data);
}
inline Bytes faceMaterial(const std::string& name, const std::vector<int>& faces) {
    Bytes data = cstr(name) + u16((uint16_t)faces.size());
    for (int f : faces) data += u16((uint16_t)f);
    return chunk(0x4130, data);
}
inline Bytes smoothing(size_t faceCount) {
    Bytes data;
    for (size_t i = 0; i < faceCount; ++i) data += u32(1);
    return chunk(0x4150, data);
}
inline Bytes faceList(const std::vector<Tri>& tris, std::initializer_list<Bytes> children = {}) {
    Bytes data = u16((uint16_t)tris.size());
    for (const Tri& t : tris) data += u16((uint16_t)t.a) + u16((uint16_t)t.b) + u16((uint16_t)t.c) + u16((uint16_t)t.flags);
    for (const Bytes& c : children) data += c;
    return chunk(0x4120, data);
}
inline Bytes meshMatrix() {
    Bytes data;
    for (int i = 0; i < 12; ++i) data += f32(i % 4 == 0 ? 1.0f : 0.0f);
    return chunk(0x4160, data);
}
inline Bytes mesh(std::initializer_list<Bytes> parts) {
    Bytes data;
    for (const Bytes& p : parts) data += p;
    return chunk(0x4100, data);
}
inline Bytes object(const std::string& name, std::initializer_list<Bytes> parts) {
    Bytes data = cstr(name);
    for (const Bytes& p : parts) data += p;
    return chunk(0x4000, data);
}
inline Bytes camera(const std::string& name) {
    return object(name, {chunk(0x4700, f32(0) + f32(0) + f32(0) + f32(1) + f32(1) + f32(1) + f32(0) + f32(45))});
}
inline Bytes light(const std::string& name) {
    return object(name, {chunk(0x4600, f32(5) + f32(5) + f32(5) + color24(255, 255, 255))});
}

// A triangle mesh object: vertices, faces (all edges visible unless the
// flags say otherwise) and face-material groups.
inline Bytes meshObject(const std::string& name, const std::vector<V3>& vs, const std::vector<Tri>& tris,
                        std::initializer_list<Bytes> groups = {}, const std::vector<UV>& uvs = {}) {
    Bytes faceData = u16((uint16_t)tris.size());
    for (const Tri& t : tris) faceData += u16((uint16_t)t.a) + u16((uint16_t)t.b) + u16((uint16_t)t.c) + u16((uint16_t)t.flags);
    for (const Bytes& g : groups) faceData += g;
    faceData += smoothing(tris.size());
    Bytes meshData = vertexList(vs) + (uvs.empty() ? Bytes() : uvList(uvs)) + meshMatrix() + chunk(0x4120, faceData);
    return object(name, {chunk(0x4100, meshData)});
}

// Axis-aligned box from (x0,y0,z0) to (x1,y1,z1) in the file's Z-up axes:
// 8 vertices, 12 triangles wound so that normals point into the box, each
// square split along a hidden diagonal.
inline std::vector<V3> boxVertices(float x0, float y0, float z0, float x1, float y1, float z1) {
    return {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
            {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
}
std::vector<Tri> boxTriangles(bool inward);
// The triangles of an n x n grid of quads over (n + 1) x (n + 1) vertices
// numbered row by row, each quad split along a hidden diagonal.
std::vector<Tri> gridTriangles(int n);

}  // namespace sb
