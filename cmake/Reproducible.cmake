# Two builds of the same sources give the same bytes, whatever folder they are
# built in and whenever: a publisher (or anyone) can then show that a shipped
# Setup.exe comes from these sources by building it again and comparing
# (scripts/check-reproducible.sh). Included before any target is made.

# The compiler writes the source and build folders into the debug information
# (DW_AT_name, DW_AT_comp_dir), into the object files' symbols and into
# __FILE__. All of it lands in <program>.debug, and through the CRC in the
# program's debug link in the program too. Sources are named relative to the
# source folder; the build folder, wherever it is, is called "build" (the
# later map wins where the build folder lies inside the source folder).
# A debugger started in the source folder finds the sources by these names.
add_compile_options(
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>)

# MinGW's ld stamps the link time into the PE header unless told not to; the
# field is then zero, which Windows does not read for anything.
add_link_options(-Wl,--no-insert-timestamp)

# Static libraries without member time stamps, owners or modes (D). Debian's
# binutils do this by default, others may not; it does not change the program,
# but keeps every file of the build comparable.
foreach(lang C CXX)
    set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
