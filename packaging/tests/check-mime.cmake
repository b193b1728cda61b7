# The type that the desktop entry opens is defined by the installed
# shared-mime-info package, for *.vfd, and the database takes it without a
# complaint.
#   -DROOT=<destdir> -DAPP_ID=<desktop id> -DOUT=<scratch dir>
file(REMOVE_RECURSE ${OUT})
file(COPY ${ROOT}/usr/share/mime/packages DESTINATION ${OUT})
# A database outside the data folders gets a note on stderr; this one is in.
get_filename_component(data ${OUT} DIRECTORY)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${data} update-mime-database ${OUT}
    RESULT_VARIABLE result
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
    message(FATAL_ERROR "update-mime-database: exit ${result}\n${errors}")
endif()

file(STRINGS ${ROOT}/usr/share/applications/${APP_ID}.desktop entry REGEX "^MimeType=")
string(REGEX REPLACE "^MimeType=([^;]+);$" "\\1" type "${entry}")
file(STRINGS ${OUT}/globs2 globs)
if(NOT type OR NOT "${globs}" MATCHES ":${type}:\\*\\.vfd")
    message(FATAL_ERROR "the desktop entry opens \"${type}\"; the database knows:\n${globs}")
endif()
