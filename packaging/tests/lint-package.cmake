# Builds the Debian package from this build and lets lintian judge it: an
# error or a warning fails.
#   -DCPACK=<cpack> -DBUILD=<build dir> -DOUT=<scratch dir>
file(REMOVE_RECURSE ${OUT})
execute_process(
    COMMAND ${CPACK} -G DEB -B ${OUT} --config ${BUILD}/CPackConfig.cmake
    OUTPUT_VARIABLE log
    ERROR_VARIABLE log
    RESULT_VARIABLE result)
file(GLOB deb ${OUT}/*.deb)
if(NOT result EQUAL 0 OR NOT deb)
    message(FATAL_ERROR "cpack failed: ${result}\n${log}")
endif()
execute_process(COMMAND lintian --display-info --fail-on error,warning ${deb} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian found errors or warnings in ${deb}")
endif()
