# What `cmake --install` puts under the prefix, for people who write models
# outside this tree:
#   bin/                      zorva-server, obrimwest, obrimeast
#   share/zorva/              the lock programs' camera positions, the
#                             model templates
#   include/zorva/LAYER/      the public headers, include/zorva/version.h
#   lib/                      the libraries (static unless BUILD_SHARED_LIBS)
#   lib/cmake/Zorva/          the CMake package (find_package(Zorva))
#   lib/pkgconfig/            zorva-kernel.pc, the Qt-free engine and kernel
# Only flags the libraries need travel with them: the sanitizers and the
# warnings are set for this tree alone, never on a target's interface.
include(CMakePackageConfigHelpers)

set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Zorva)

install(TARGETS zorva_wire EXPORT ZorvaTargets
        FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorva
        FILE_SET version DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS zorva_engine zorva_kernel zorva_connection zorva_animation_core zorva_animation zorva_ui zorva_all
        EXPORT ZorvaTargets
        FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zorva)
install(EXPORT ZorvaTargets NAMESPACE Zorva:: DESTINATION ${config_dir})

configure_package_config_file(cmake/ZorvaConfig.cmake.in ${PROJECT_BINARY_DIR}/ZorvaConfig.cmake
                              INSTALL_DESTINATION ${config_dir})
# 0.x: a minor version may change what models are written against.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZorvaConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZorvaConfig.cmake ${PROJECT_BINARY_DIR}/ZorvaConfigVersion.cmake
              cmake/ZorvaModel.cmake
        DESTINATION ${config_dir})

# The .pc file finds its prefix from where it lies, so the package moves.
file(RELATIVE_PATH pc_prefix_from_pcdir ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_prefix_from_pcdir "${pc_prefix_from_pcdir}")
configure_file(cmake/zorva-kernel.pc.in ${PROJECT_BINARY_DIR}/zorva-kernel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zorva-kernel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS zorva-server obrimwest obrimeast RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program obrimwest obrimeast)
  install(FILES models/lock/lock.cam DESTINATION ${ZORVA_DATA_DIR} RENAME ${program}.cam)
endforeach()
install(DIRECTORY templates/ DESTINATION ${ZORVA_DATA_DIR}/templates)

include(cmake/ZorvaPackage.cmake)
