// Carries a file built with the program inside it as read-only data: the
// assembler pulls the bytes in, so the program always carries the file of
// the same build. PATH is a string literal (CMake passes it as a definition).
//
//   QM_EMBED_FILE(qm_thing, QM_THING_PATH);  // defines qm_thing_begin[] and qm_thing_end[]
//   std::string_view bytes = QM_EMBEDDED_BYTES(qm_thing);
#pragma once

#include <cstddef>
#include <string_view>

#define QM_EMBED_FILE(symbol, path)                  \
    __asm__(                                         \
        ".section .rdata,\"dr\"\n"                   \
        ".balign 16\n"                               \
        "_" #symbol                                  \
        "_begin:\n"                                  \
        ".incbin \"" path                            \
        "\"\n"                                       \
        "_" #symbol                                  \
        "_end:\n"                                    \
        ".text\n");                                  \
    extern "C" const unsigned char symbol##_begin[]; \
    extern "C" const unsigned char symbol##_end[]

#define QM_EMBEDDED_BYTES(symbol) \
    std::string_view(reinterpret_cast<const char*>(symbol##_begin), static_cast<size_t>(symbol##_end - symbol##_begin))
