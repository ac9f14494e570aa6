# Link against the real zlib1.dll through its import library (never the static
# libz.a beside it), and put Debian's zlib1.dll of the target next to every program.
find_path(ZLIB_WIN32_INCLUDE zlib.h REQUIRED)
find_file(ZLIB_WIN32_IMPORT libz.dll.a PATHS /usr/${TOOLCHAIN_PREFIX}/lib REQUIRED NO_DEFAULT_PATH)
find_file(ZLIB_WIN32_DLL zlib1.dll PATHS /usr/${TOOLCHAIN_PREFIX}/lib /usr/${TOOLCHAIN_PREFIX}/bin
          REQUIRED NO_DEFAULT_PATH)
add_library(zlib_dll INTERFACE)
target_include_directories(zlib_dll INTERFACE ${ZLIB_WIN32_INCLUDE})
target_link_libraries(zlib_dll INTERFACE ${ZLIB_WIN32_IMPORT})
configure_file(${ZLIB_WIN32_DLL} ${CMAKE_BINARY_DIR}/bin/zlib1.dll COPYONLY)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# Everything the toolchain brings (libgcc, libstdc++, winpthread for the posix
# thread model GoogleTest needs) is linked statically. zlib stays a DLL: it is
# linked by the full path of its import library, which -static leaves alone.
add_link_options(-static)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600)
