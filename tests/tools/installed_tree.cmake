# Installs the build into a scratch prefix, checks that the pkg-config file names that prefix, then moves the
# whole tree elsewhere and runs the installed gearfile from there: it must find the installed library. With
# PYTHON_DIR (the module's folder under the prefix) the moved Python module must load it too.
#
#   cmake -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch> -DLIBDIR=<CMAKE_INSTALL_LIBDIR> -DVERSION=<text>
#         [-DPYTHON=<interpreter> -DPYTHON_DIR=<dir> -DEXAMPLE=<gear file>] -P installed_tree.cmake

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
if(PYTHON_DIR)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env "PYTHONPATH=${moved}/${PYTHON_DIR}" PYTHONDONTWRITEBYTECODE=1
            "${PYTHON}" -c "import gearrecords; print(gearrecords.Gear('${EXAMPLE}').geometry.z)"
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT status EQUAL 0 OR NOT output STREQUAL "23\n")
        message(FATAL_ERROR "the moved Python module failed (${status}): ${output}")
    endif()
    file(GLOB module "${moved}/${PYTHON_DIR}/gearrecords*.so")
    execute_process(COMMAND ldd "${module}" OUTPUT_VARIABLE libraries)
    if(NOT libraries MATCHES "libgearrecords[^\n]* => ${moved}/[^\n]*libgearrecords")
        message(FATAL_ERROR "the moved Python module does not use the moved library:\n${libraries}")
    endif()
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
