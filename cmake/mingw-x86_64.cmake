# Cross build for 64-bit Windows with Debian's MinGW-w64 toolchain. The shipped
# Setup.exe is the 32-bit build; this one runs the same sources' tests and the
# demo on hosts whose kernel does not execute 32-bit code (Wine's 32-bit
# loader is such code, its 64-bit loader is not).
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
