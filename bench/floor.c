/* The floor of a converter: reads the scene file whole, walks its mesh
 * chunks and prints one line per vertex and one per triangle, either with
 * one fprintf per line ("printf") or with integers formatted by hand into a
 * buffer ("fast"). Usage: floor printf|fast scene.3ds out.txt */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

static unsigned char data[2000000];
static long size;
static int fast;
static FILE* out;
static char buf[1 << 16];
static size_t used;

static uint32_t rd16(long p) { return data[p] | data[p + 1] << 8; }
static uint32_t rd32(long p) { return rd16(p) | rd16(p + 2) << 16; }
static float rdf(long p) { uint32_t b = rd32(p); float f; memcpy(&f, &b, 4); return f; }

static void flush(void) { fwrite(buf, 1, used, out); used = 0; }
static void putint(long v) {
    char d[24]; int n = 0;
    unsigned long u = v < 0 ? -(unsigned long)v : (unsigned long)v;
    if (used + 24 > sizeof buf) flush();
    do { d[n++] = '0' + u % 10; u /= 10; } while (u);
    if (v < 0) buf[used++] = '-';
    while (n) buf[used++] = d[--n];
}
static void putch(char c) { if (used + 1 > sizeof buf) flush(); buf[used++] = c; }

static void walk(long p, long end) {
    while (p + 6 <= end) {
        uint32_t id = rd16(p), len = rd32(p + 2);
        if (len < 6 || p + len > end) return;
        if (id == 0x4D4D || id == 0x3D3D || id == 0x4100) walk(p + 6, p + len);
        else if (id == 0x4000) { long q = p + 6; while (q < p + len && data[q]) ++q; walk(q + 1, p + len); }
        else if (id == 0x4110) {
            uint32_t n = rd16(p + 6);
            for (uint32_t i = 0; i < n; ++i) {
                long at = p + 8 + 12 * i;
                int x = (int)rdf(at), y = (int)rdf(at + 4), z = (int)rdf(at + 8);
                if (fast) { putch(' '); putint(x); putch(' '); putint(z); putch(' '); putint(y); putch('\n'); }
                else fprintf(out, " %d %d %d\n", x, z, y);
            }
        } else if (id == 0x4120) {
            uint32_t n = rd16(p + 6);
            for (uint32_t i = 0; i < n; ++i) {
                long at = p + 8 + 8 * i;
                int a = rd16(at), b = rd16(at + 2), c = rd16(at + 4);
                if (fast) {
                    putint(a); putch(' '); putch('0'); putch(' '); putch('0'); putch(' '); putch(' ');
                    putint(b); putch(' '); putch('0'); putch(' '); putch('0'); putch(' '); putch(' ');
                    putint(c); putch(' '); putch('0'); putch(' '); putch('0'); putch(' '); putch(' '); putch('\n');
                } else fprintf(out, "%d 0 0  %d 0 0  %d 0 0  \n", a, b, c);
            }
        }
        p += len;
    }
}

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    fast = strcmp(argv[1], "fast") == 0;
    FILE* in = fopen(argv[2], "rb");
    if (!in) return 1;
    size = (long)fread(data, 1, sizeof data, in);
    fclose(in);
    out = fopen(argv[3], "w");
    if (!out) return 1;
    walk(0, size);
    if (fast) flush();
    fclose(out);
    printf("done\n");
    return 0;
}
