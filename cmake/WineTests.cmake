# Win32 test programs are built with GoogleTest and run by CTest through Wine,
# in a Wine prefix that belongs to this build tree.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Which build the tests run, and how: the labels name it in CTest's summary.
# Where the kernel runs no 32-bit code, a 32-bit tree runs through qemu
# (tests/wine/ia32-ns.sh), some five times slower; the time each test is
# allowed grows to match, as the scripts tell.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WINE_TEST_ARCH win32)
    set(WINE_TEST_LABELS 32-bit)
else()
    set(WINE_TEST_ARCH win64)
    set(WINE_TEST_LABELS 64-bit)
endif()
execute_process(
    COMMAND bash -c ". '${PROJECT_SOURCE_DIR}/tests/wine/wine-env.sh' && ia32_route && wine_time_factor ${WINE_TEST_ARCH}"
    OUTPUT_VARIABLE wine_test_route OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "\n" ";" wine_test_route "${wine_test_route}")
list(GET wine_test_route 0 route)
list(GET wine_test_route 1 WINE_TEST_TIME_FACTOR)
if(WINE_TEST_ARCH STREQUAL win32 AND route STREQUAL emulated)
    list(APPEND WINE_TEST_LABELS qemu-i386)
endif()
math(EXPR WINE_TEST_TIMEOUT "180 * ${WINE_TEST_TIME_FACTOR}")

function(add_wine_test name)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX}"
                                            TIMEOUT ${WINE_TEST_TIMEOUT}
                                            LABELS "${WINE_TEST_LABELS}" ${ARGN})
endfunction()
