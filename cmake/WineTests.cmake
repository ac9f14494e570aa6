# Win32 test programs are built with GoogleTest and run by CTest through Wine,
# in a Wine prefix that belongs to this build tree.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(add_wine_test name)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX}"
                                            TIMEOUT 180 ${ARGN})
endfunction()
