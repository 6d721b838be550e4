include(CMakePackageConfigHelpers)

# The installed tool finds the library relative to itself, so that an installed tree runs from any prefix.
file(RELATIVE_PATH libdir_from_bindir ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(gearfile PROPERTIES INSTALL_RPATH "$ORIGIN/${libdir_from_bindir}")

install(TARGETS gearrecords gearfile EXPORT gearrecordsTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT gearrecordsTargets NAMESPACE gearrecords::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/gearrecords)

configure_package_config_file(cmake/gearrecordsConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/gearrecordsConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/gearrecords)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/gearrecordsConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/gearrecordsConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/gearrecordsConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/gearrecords)

# Written when installing, so that it names the prefix given then (cmake --install --prefix), not the one the
# build was configured with.
set(pc_file ${CMAKE_CURRENT_BINARY_DIR}/install/gearrecords.pc)
install(CODE "
    set(PROJECT_DESCRIPTION \"${PROJECT_DESCRIPTION}\")
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    configure_file(\"${PROJECT_SOURCE_DIR}/cmake/gearrecords.pc.in\" \"${pc_file}\" @ONLY)")
install(FILES ${pc_file} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
