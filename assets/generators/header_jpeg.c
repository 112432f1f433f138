/* Writes the header picture that the local service publishes for the
 * updater window: a 960 x 540 JPEG, a dark blue-violet night sky with a
 * glow behind the status area and a few streaks of light, drawn from
 * formulas so that the project carries no picture of anyone else's.
 *
 *   header_jpeg OUTPUT.jpg
 *
 * A build-time tool, compiled for the build machine against its libjpeg. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

#define WIDTH 960
#define HEIGHT 540

static double clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

/* A soft round light of the given radius at (cx, cy). */
static double glow(double x, double y, double cx, double cy, double radius) {
    double dx = x - cx, dy = y - cy;
    return exp(-(dx * dx + dy * dy) / (2 * radius * radius));
}

/* A thin diagonal band of light, fading towards both ends. */
static double streak(double x, double y, double offset, double width) {
    double across = (x * 0.45 - y + offset) / width;
    double along = clamp01(1 - fabs(x - WIDTH * 0.6) / (WIDTH * 0.6));
    return exp(-across * across) * along;
}

/* A small pseudo-random star field: the same stars on every build. */
static double star(int x, int y) {
    unsigned h = (unsigned)x * 73856093u ^ (unsigned)y * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h % 1500u) == 0 ? 0.6 + (h % 7u) / 17.0 : 0;
}

static void pixel(int x, int y, JSAMPLE* out) {
    double t = (double)y / HEIGHT;
    double r = 0.05 + 0.10 * t, g = 0.06 + 0.05 * t, b = 0.16 + 0.14 * t;
    double warm = glow(x, y, WIDTH * 0.78, HEIGHT * 0.92, 260) * 0.55;
    double cold = glow(x, y, WIDTH * 0.18, HEIGHT * 0.15, 220) * 0.35;
    double band = streak(x, y, 40, 18) * 0.25 + streak(x, y, -160, 10) * 0.18 + streak(x, y, -330, 26) * 0.12;
    double s = star(x, y) * (1 - t);
    r += warm * 0.95 + cold * 0.25 + band * 0.65 + s;
    g += warm * 0.45 + cold * 0.45 + band * 0.70 + s;
    b += warm * 0.55 + cold * 0.95 + band * 0.95 + s;
    out[0] = (JSAMPLE)lround(clamp01(r) * 255);
    out[1] = (JSAMPLE)lround(clamp01(g) * 255);
    out[2] = (JSAMPLE)lround(clamp01(b) * 255);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 1;
    }
    struct jpeg_compress_struct jpeg;
    struct jpeg_error_mgr errors;
    jpeg.err = jpeg_std_error(&errors); /* a libjpeg error ends the program */
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, out);
    jpeg.image_width = WIDTH;
    jpeg.image_height = HEIGHT;
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 88, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    static JSAMPLE row[WIDTH * 3];
    while (jpeg.next_scanline < HEIGHT) {
        for (int x = 0; x < WIDTH; x++) pixel(x, (int)jpeg.next_scanline, row + x * 3);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    if (fclose(out) != 0) {
        perror(argv[1]);
        remove(argv[1]);
        return 1;
    }
    return 0;
}
