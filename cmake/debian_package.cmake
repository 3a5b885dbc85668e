# `cpack -G DEB` in the build directory: a Debian package of everything `cmake --install` puts in
# place, under /usr, its dependencies the Debian libraries the program and the library link
# (dpkg-shlibdeps reads them off the binaries).
set(KZR40_PACKAGE_MAINTAINER "KZR40 developers <kzr40@example.invalid>" CACHE STRING
  "Maintainer named by the Debian package")

set(CPACK_PACKAGE_NAME kzr40)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generator of SQL scripts and table-maintenance applications from entity-relationship diagrams")
set(CPACK_PACKAGE_DESCRIPTION "The kzr40 program reads an entity-relationship diagram (JSON or a stored
diagram) and writes its SQL data-definition script, an Object Pascal unit that creates the tables,
one maintenance form per table and the main project of a table-maintenance application; it draws
diagrams, lays them out and edits them in a window. The package also holds the plug-in library
libkzr40.so with its headers and CMake package for hosts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KZR40_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The editor's faces: text is measured in the Liberation fonts, which no binary links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
include(CPack)
