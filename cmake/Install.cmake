# What cmake --install puts in place beside the programs: the public
# headers, the library's layers and a CMake package, so that a program
# elsewhere finds the library with find_package(crninv) and links
# crninv::crninv.
include(CMakePackageConfigHelpers)
get_property(layers GLOBAL PROPERTY CRNINV_LAYERS)
install(TARGETS ${layers} crninv_library EXPORT crninvTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The converters' headers stay behind: their libraries (libSBML, expat)
# are the programs' and the Python module's, not the package's.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/crninv DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        PATTERN sbml.h EXCLUDE PATTERN pnml.h EXCLUDE)
set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/crninv)
install(EXPORT crninvTargets NAMESPACE crninv:: DESTINATION ${package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/crninvConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/crninvConfig.cmake
                              INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/crninvConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/crninvConfig.cmake
              ${PROJECT_BINARY_DIR}/crninvConfigVersion.cmake
        DESTINATION ${package_dir})
