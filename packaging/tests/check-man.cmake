# A manual page renders without a warning from man and groff, and documents
# every option that the program's --help lists. --help runs without a
# display, as on a server or over ssh.
#   -DPAGE=<page.1.gz> [-DPROGRAM=<executable>]
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l ${PAGE}
    OUTPUT_VARIABLE text
    ERROR_VARIABLE warnings
    RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "man -l ${PAGE}: exit ${result}\n${warnings}")
endif()

if(PROGRAM)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                QT_QPA_PLATFORM=xcb ${PROGRAM} --help
        OUTPUT_VARIABLE help
        ERROR_VARIABLE errors
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} --help: exit ${result}\n${errors}")
    endif()
    string(REGEX MATCHALL "--[a-z0-9-]+" options "${help}")
    list(REMOVE_DUPLICATES options)
    # man shows hyphens as U+2010 where the source does not escape them.
    string(REPLACE "‐" "-" text "${text}")
    foreach(option IN LISTS options)
        string(FIND "${text}" "${option}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${PAGE} does not mention ${option}")
        endif()
    endforeach()
endif()
