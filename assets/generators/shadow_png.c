/* Writes one of the launcher's two drop-shadow pictures: a 100 x 100 RGBA
 * PNG, black everywhere, transparent inside, with an alpha ramp along the
 * border that bends around rounded corners. The painting stretches the
 * edges of the picture and draws its 20-pixel corners unscaled, so the
 * rounding has to stay inside those corners.
 *
 *   shadow_png 5|10 OUTPUT.png
 *
 * A build-time tool, compiled for the build machine against its libpng. */
#include <math.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define SIDE 100

struct ramp {
    int size;
    /* Alpha at distance 0, 1, ... from the outer edge. */
    unsigned char near_edges[10]; /* left and top */
    unsigned char far_edges[10];  /* right and bottom */
    /* Radius of the outer rounding; the bend lies within this many pixels of a corner. */
    double radius;
};

static const struct ramp ramps[] = {
    {5, {15, 31, 53, 79, 111}, {15, 31, 53, 79, 111}, 11.0},
    {10, {11, 19, 28, 40, 53, 68, 85, 105, 122, 137}, {11, 19, 28, 40, 53, 68, 85, 105, 122, 124}, 19.0},
};

/* The profile value at a distance d inside the rounded outline; between two
 * whole distances the nearer-to-the-edge value holds, and the half pixel
 * outside the outline fades from the first value to 0. */
static unsigned char profile_at(const unsigned char* profile, int size, double d) {
    if (d >= size) return 0;
    if (d >= 0) return profile[(int)d];
    if (d > -1) return (unsigned char)lround(profile[0] * (1 + d));
    return 0;
}

static unsigned char alpha_at(const struct ramp* r, int x, int y) {
    int from_left = x, from_right = SIDE - 1 - x, from_top = y, from_bottom = SIDE - 1 - y;
    int dx = from_left < from_right ? from_left : from_right;
    int dy = from_top < from_bottom ? from_top : from_bottom;
    /* The left and top edges share one profile, the right and bottom the other. */
    int nearest_is_far = dx <= dy ? from_right < from_left : from_bottom < from_top;
    const unsigned char* profile = nearest_is_far ? r->far_edges : r->near_edges;
    double d;
    /* The window itself lies inside the ramp: nothing of the shadow may
     * cover its square corners. */
    if (dx >= r->size && dy >= r->size) return 0;
    if (dx < r->radius && dy < r->radius) {
        /* Distance inward from a quarter circle through the corner's region,
         * measured from the pixel centre. */
        double cx = r->radius - (dx + 0.5), cy = r->radius - (dy + 0.5);
        d = r->radius - 0.5 - sqrt(cx * cx + cy * cy);
    } else {
        d = dx < dy ? dx : dy;
    }
    return profile_at(profile, r->size, d);
}

int main(int argc, char** argv) {
    const struct ramp* r = NULL;
    for (size_t i = 0; argc == 3 && i < sizeof ramps / sizeof ramps[0]; i++)
        if (atoi(argv[1]) == ramps[i].size) r = &ramps[i];
    if (!r) {
        fprintf(stderr, "usage: %s 5|10 OUTPUT.png\n", argv[0]);
        return 2;
    }

    static png_byte pixels[SIDE][SIDE * 4];
    png_bytep rows[SIDE];
    for (int y = 0; y < SIDE; y++) {
        rows[y] = pixels[y];
        for (int x = 0; x < SIDE; x++) pixels[y][x * 4 + 3] = alpha_at(r, x, y);
    }

    FILE* out = fopen(argv[2], "wb");
    if (!out) {
        perror(argv[2]);
        return 1;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    if (!info || setjmp(png_jmpbuf(png))) {
        fprintf(stderr, "%s: libpng failed\n", argv[2]);
        fclose(out);
        remove(argv[2]);
        return 1;
    }
    png_init_io(png, out);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, SIDE, SIDE, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    if (fclose(out) != 0) {
        perror(argv[2]);
        remove(argv[2]);
        return 1;
    }
    return 0;
}
