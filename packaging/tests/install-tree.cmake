# Installs the build into a fresh DESTDIR under the prefix /usr, and checks
# that it holds exactly the listed files (tq540ctl's only when it is built).
#   -DBUILD=<build dir> -DROOT=<destdir> -DEXPECTED=<list> -DWITH_CTL=ON|OFF
file(REMOVE_RECURSE ${ROOT})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
    OUTPUT_QUIET
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${ROOT} ${ROOT}/*)
list(SORT installed)
file(STRINGS ${EXPECTED} expected)
if(NOT WITH_CTL)
    list(FILTER expected EXCLUDE REGEX "tq540ctl")
endif()
list(SORT expected)

set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(extra ${installed})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
    list(JOIN missing "\n  " missing)
    list(JOIN extra "\n  " extra)
    message(FATAL_ERROR "installed files differ\nmissing:\n  ${missing}\nnot expected:\n  ${extra}")
endif()
list(LENGTH installed count)
message(STATUS "${count} files installed as expected")
