# Test executables run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, one
# process per executable. tools/test.sh provides the prefix, the wineserver,
# the display and the Chinese locale.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# qm_add_test(NAME name SOURCES files... [LIBS libs...] [FIXED_PORT port] [TIMEOUT s] [GUI])
#   FIXED_PORT: the test binds a fixed port, so ctest never runs two such tests at once.
#   GUI: the test opens windows or starts the launcher (marked with the "gui" label).
function(qm_add_test)
    cmake_parse_arguments(T "GUI" "NAME;FIXED_PORT;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE qm_test_main GTest::gmock ${T_LIBS})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
                         ENVIRONMENT "QM_BIN_DIR=${CMAKE_BINARY_DIR}/bin;QM_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
    if(T_FIXED_PORT)
        set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "port-${T_FIXED_PORT}")
        set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT "QM_HOLDS_FIXED_PORTS=1")
    endif()
    if(T_GUI)
        set_tests_properties(${T_NAME} PROPERTIES LABELS gui)
    endif()
endfunction()
