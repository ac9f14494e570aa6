# Warnings shared by every target of the project. CI builds with
# SETUP_WARNINGS_AS_ERRORS (scripts/build.sh sets it when CI is set): a new
# warning fails the run instead of scrolling past.
option(SETUP_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
function(setup_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    if(SETUP_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
