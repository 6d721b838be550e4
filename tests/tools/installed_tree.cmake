# Installs the build into a scratch prefix, checks that the pkg-config file names that prefix, then moves the
# whole tree elsewhere and runs the installed gearfile from there: it must find the installed library.
#
#   cmake -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch> -DLIBDIR=<CMAKE_INSTALL_LIBDIR> -DVERSION=<text>
#         -P installed_tree.cmake

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/installed")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "install failed: ${errors}")
endif()

file(STRINGS "${prefix}/${LIBDIR}/pkgconfig/gearrecords.pc" prefix_line REGEX "^prefix=")
if(NOT prefix_line STREQUAL "prefix=${prefix}")
    message(FATAL_ERROR "the pkg-config file says '${prefix_line}', installed to '${prefix}'")
endif()

set(moved "${WORK_DIR}/moved")
file(RENAME "${prefix}" "${moved}")
execute_process(COMMAND "${moved}/bin/gearfile" --version RESULT_VARIABLE status OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output MATCHES "^${VERSION}\n")
    message(FATAL_ERROR "the moved gearfile failed (${status}): ${output}")
endif()
# The library it found is the moved one, not another installed copy.
execute_process(COMMAND ldd "${moved}/bin/gearfile" OUTPUT_VARIABLE libraries)
if(NOT libraries MATCHES "libgearrecords[^\n]* => ${moved}/[^\n]*libgearrecords")
    message(FATAL_ERROR "the moved gearfile does not use the moved library:\n${libraries}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
