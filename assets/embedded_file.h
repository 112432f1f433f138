// Files made by the build, carried inside the program as read-only data: the
// assembler pulls the file in, so the program always carries the one of the
// same build.
#pragma once

#define QM_EMBED_STRINGIFY2(x) #x
#define QM_EMBED_STRINGIFY(x) QM_EMBED_STRINGIFY2(x)

// Defines name_begin and name_end around the bytes of the file at path (a
// macro holding a quoted path, set by CMake). At namespace scope, once.
#define QM_EMBED_FILE(name, path)                  \
    __asm__(".section .rdata,\"dr\"\n"           \
            ".balign 16\n"                       \
            "_" #name "_begin:\n"                \
            ".incbin " QM_EMBED_STRINGIFY(path) "\n" \
            "_" #name "_end:\n"                  \
            ".text\n");                          \
    extern "C" const unsigned char name##_begin[]; \
    extern "C" const unsigned char name##_end[]
