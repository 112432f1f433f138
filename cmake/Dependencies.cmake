# Imported targets for the static libraries that tools/setup.sh cross-builds.
set(_deps_lib "${QM_DEPS_PREFIX}/lib")
set(_deps_inc "${QM_DEPS_PREFIX}/include")
if(NOT EXISTS "${_deps_lib}/libjson-c.a")
    message(FATAL_ERROR "Dependencies missing in ${QM_DEPS_PREFIX}: run tools/setup.sh ${CMAKE_BINARY_DIR}")
endif()

function(qm_import_static name file)
    add_library(${name} STATIC IMPORTED GLOBAL)
    set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${_deps_lib}/${file}"
                                             INTERFACE_INCLUDE_DIRECTORIES "${_deps_inc};${ARGN}")
endfunction()

qm_import_static(qm::jsonc libjson-c.a "${_deps_inc}/json-c")
qm_import_static(qm::jpeg libjpeg.a)
qm_import_static(qm::png libpng16.a)

# zlib comes from libz-mingw-w64-dev inside the mingw sysroot.
find_library(QM_ZLIB_LIBRARY NAMES libz.a z REQUIRED)
add_library(qm::zlib STATIC IMPORTED GLOBAL)
set_target_properties(qm::zlib PROPERTIES IMPORTED_LOCATION "${QM_ZLIB_LIBRARY}")
set_property(TARGET qm::png APPEND PROPERTY INTERFACE_LINK_LIBRARIES qm::zlib)

# minizip's unzip API, compiled from zlib's contrib sources.
set(_minizip "${CMAKE_BINARY_DIR}/deps/zlib-src/contrib/minizip")
add_library(qm_minizip STATIC "${_minizip}/unzip.c" "${_minizip}/ioapi.c")
target_include_directories(qm_minizip PUBLIC "${_minizip}")
target_compile_definitions(qm_minizip PRIVATE NOCRYPT)
target_compile_options(qm_minizip PRIVATE -w)
target_link_libraries(qm_minizip PUBLIC qm::zlib)
add_library(qm::minizip ALIAS qm_minizip)
