# What `cmake --install build --prefix P` puts in place: P/bin/kzr40, P/lib/libkzr40.so, the
# boundary headers under P/include/kzr40/, the CMake package (P/lib/cmake/kzr40), the manual page
# and the shell completions; and the Debian package made of the same.
include(GNUInstallDirs)
install(TARGETS kzr40-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
include(${CMAKE_CURRENT_LIST_DIR}/public_headers.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/package_config.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/help_pages.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
