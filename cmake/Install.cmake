include(CMakePackageConfigHelpers)

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

configure_file(cmake/gearrecords.pc.in ${CMAKE_CURRENT_BINARY_DIR}/gearrecords.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/gearrecords.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
