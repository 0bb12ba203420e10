// stb's image writer (PNG, BMP, TGA, JPEG), compiled into the file that includes this header as
// functions of its own (static), for tools and tests that write image files themselves. Include
// it in one source file of a program at most once; the platform's codec has its own copy.
#pragma once

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop
