# The Debian package, zorva_VERSION_amd64.deb (scripts/package.sh): what
# `cmake --install` puts under /usr. The programs need Qt's runtime; writing
# a model against the headers and the CMake package needs a compiler, CMake
# and Qt's development files, which apt installs with it as recommendations.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Process-oriented discrete-event simulation framework for C++20 models")
set(CPACK_PACKAGE_CONTACT "Zorva developers <zorva@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6network6 (>= 6.4), \
libqt6widgets6 (>= 6.4), libqt6charts6 (>= 6.4), qt6-qpa-plugins (>= 6.4)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "build-essential, cmake (>= 3.25), pkg-config, qt6-base-dev, qt6-charts-dev, libqt6opengl6-dev, libgl-dev")
set(CPACK_PACKAGE_DESCRIPTION
    "Zorva runs the elements of a model as coroutines by stack copying, with queues, statistics, \
random streams, a trace, a main window and a software 3D animation. The package holds the \
message server zorva-server, the two lock programs obrimwest and obrimeast, the headers, \
the libraries, the CMake package (find_package(Zorva)) and model templates under \
/usr/share/zorva/templates.")
include(CPack)
