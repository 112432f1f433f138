/* Writes the launcher's application icon: an ICO file of six 32-bit images
 * (16, 20, 24, 32, 48 and 64 pixels), each the community's brand mark, a
 * white "Q" on a rounded square that runs from orange to pink, as the
 * launcher page draws it. Every size is drawn from the same shapes, four by
 * four samples a pixel, so the small ones stay smooth.
 *
 *   app_icon OUTPUT.ico
 *
 * A build-time tool, compiled for the build machine; it needs no library. */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const int sizes[] = {16, 20, 24, 32, 48, 64};
#define IMAGES (sizeof sizes / sizeof sizes[0])
#define SAMPLES 4

/* Shapes in a unit square, y downwards. */
static int in_rounded_square(double x, double y) {
    const double r = 0.22;
    double dx = x < r ? r - x : x > 1 - r ? x - (1 - r) : 0;
    double dy = y < r ? r - y : y > 1 - r ? y - (1 - r) : 0;
    return x >= 0 && x <= 1 && y >= 0 && y <= 1 && dx * dx + dy * dy <= r * r;
}

static double segment_distance(double x, double y, double ax, double ay, double bx, double by) {
    double vx = bx - ax, vy = by - ay;
    double t = ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy);
    if (t < 0) t = 0;
    if (t > 1) t = 1;
    double px = ax + t * vx - x, py = ay + t * vy - y;
    return sqrt(px * px + py * py);
}

static int in_letter(double x, double y) {
    double d = hypot(x - 0.5, y - 0.47);
    if (d >= 0.18 && d <= 0.29) return 1;
    return segment_distance(x, y, 0.56, 0.56, 0.74, 0.76) <= 0.06;
}

/* One pixel as blue, green, red, alpha (straight alpha, as icons keep it). */
static void pixel(int size, int px, int py, unsigned char out[4]) {
    double r = 0, g = 0, b = 0, a = 0;
    for (int sy = 0; sy < SAMPLES; ++sy)
        for (int sx = 0; sx < SAMPLES; ++sx) {
            double x = (px + (sx + 0.5) / SAMPLES) / size, y = (py + (sy + 0.5) / SAMPLES) / size;
            if (!in_rounded_square(x, y)) continue;
            if (in_letter(x, y)) {
                r += 255, g += 255, b += 255;
            } else {
                double t = (x + y) / 2; /* #FF8A1F at the top left to #E9407A at the bottom right */
                r += 255 + (233 - 255) * t, g += 138 + (64 - 138) * t, b += 31 + (122 - 31) * t;
            }
            a += 1;
        }
    if (a == 0) {
        memset(out, 0, 4);
        return;
    }
    out[0] = (unsigned char)lround(b / a);
    out[1] = (unsigned char)lround(g / a);
    out[2] = (unsigned char)lround(r / a);
    out[3] = (unsigned char)lround(255 * a / (SAMPLES * SAMPLES));
}

static void put16(unsigned char* at, unsigned v) { at[0] = v & 0xFF, at[1] = (v >> 8) & 0xFF; }
static void put32(unsigned char* at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); }

/* The image as an icon stores it: a bitmap header of double height, the
 * colour rows from the bottom up, then the one-bit mask (set where the
 * picture is fully transparent), each mask row padded to four bytes. */
static unsigned char* image(int size, size_t* length) {
    size_t mask_stride = ((size + 31) / 32) * 4;
    *length = 40 + (size_t)size * size * 4 + mask_stride * size;
    unsigned char* data = calloc(1, *length);
    if (!data) return NULL;
    put32(data, 40);
    put32(data + 4, size);
    put32(data + 8, size * 2);
    put16(data + 12, 1);
    put16(data + 14, 32);
    put32(data + 20, (uint32_t)((size_t)size * size * 4 + mask_stride * size));
    unsigned char* colour = data + 40;
    unsigned char* mask = colour + (size_t)size * size * 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int row = size - 1 - y;
            unsigned char* at = colour + ((size_t)row * size + x) * 4;
            pixel(size, x, y, at);
            if (at[3] == 0) mask[row * mask_stride + x / 8] |= (unsigned char)(0x80 >> (x % 8));
        }
    return data;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: app_icon OUTPUT.ico\n");
        return 2;
    }
    unsigned char* images[IMAGES];
    size_t lengths[IMAGES];
    unsigned char header[6 + 16 * IMAGES];
    memset(header, 0, sizeof header);
    put16(header + 2, 1); /* an icon, not a cursor */
    put16(header + 4, IMAGES);
    uint32_t offset = sizeof header;
    for (size_t i = 0; i < IMAGES; ++i) {
        images[i] = image(sizes[i], &lengths[i]);
        if (!images[i]) return 1;
        unsigned char* entry = header + 6 + 16 * i;
        entry[0] = (unsigned char)sizes[i];
        entry[1] = (unsigned char)sizes[i];
        put16(entry + 4, 1);
        put16(entry + 6, 32);
        put32(entry + 8, (uint32_t)lengths[i]);
        put32(entry + 12, offset);
        offset += (uint32_t)lengths[i];
    }
    FILE* out = fopen(argv[1], "wb");
    if (!out) return 1;
    int ok = fwrite(header, sizeof header, 1, out) == 1;
    for (size_t i = 0; i < IMAGES; ++i) ok = ok && fwrite(images[i], lengths[i], 1, out) == 1;
    if (fclose(out) != 0) ok = 0;
    if (!ok) remove(argv[1]);
    return ok ? 0 : 1;
}
