# Fails when a public header is missing from the umbrella header gearrecords.h.
file(READ ${INCLUDE_DIR}/kest/gear/gearrecords.h umbrella)
file(GLOB_RECURSE headers RELATIVE ${INCLUDE_DIR} ${INCLUDE_DIR}/*.h)
foreach(header ${headers})
    if(NOT header STREQUAL "kest/gear/gearrecords.h" AND NOT umbrella MATCHES "#include <${header}>")
        message(FATAL_ERROR "gearrecords.h does not include ${header}")
    endif()
endforeach()
