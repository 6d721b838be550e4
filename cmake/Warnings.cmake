# Warnings and common options of every target of this project (not of its consumers).
add_library(gearrecords_warnings INTERFACE)
target_compile_options(gearrecords_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wswitch-enum -Wnon-virtual-dtor
    -Woverloaded-virtual -Wcast-qual -Wformat=2
    # reports name their source file relative to the source tree
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    $<$<BOOL:${GEARRECORDS_WERROR}>:-Werror>)
