# How the Windows programs are built to ship lean: each function and datum in
# a section of its own, so that the linker leaves out what nothing calls
# (static libstdc++ brings far more than the programs use), and debug
# information that stays beside the shipped program instead of in it.
add_compile_options(-ffunction-sections -fdata-sections -g)
add_link_options(-Wl,--gc-sections)

# The program as it ships: stripped, with its symbols and debug information in
# <program>.debug beside it, which debuggers find through the debug link. A
# 32-bit program may use addresses above 2 GiB (large-address-aware), as
# nothing in it takes pointers for signed numbers.
function(ship_program target)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/platform/gui_terminate_handler.cpp)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(${target} PRIVATE -Wl,--large-address-aware)
    endif()
    set(program $<TARGET_FILE_NAME:${target}>)
    # objcopy and strip write the time they run into the PE header unless
    # SOURCE_DATE_EPOCH names one: zero, as the linker leaves it
    # (cmake/Reproducible.cmake), so that the program and its .debug file,
    # whose CRC the debug link holds, are the same bytes from every build.
    set(at_no_time ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${at_no_time} ${CMAKE_OBJCOPY} --only-keep-debug ${program} ${program}.debug
        COMMAND ${at_no_time} ${CMAKE_STRIP} --strip-all ${program}
        COMMAND ${at_no_time} ${CMAKE_OBJCOPY} --add-gnu-debuglink=${program}.debug ${program}
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        COMMENT "Stripping ${target}, its debug information beside it"
        VERBATIM)
endfunction()
