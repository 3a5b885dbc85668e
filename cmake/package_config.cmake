# find_package(kzr40) for a C++ host: the imported target kzr40::kzr40 (the library, its headers'
# folder and the language standard they are written in) and the version file.
include(CMakePackageConfigHelpers)
set(kzr40_config_destination ${CMAKE_INSTALL_LIBDIR}/cmake/kzr40)

target_include_directories(kzr40 INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kzr40>)
target_compile_features(kzr40 INTERFACE cxx_std_20)
install(TARGETS kzr40 EXPORT kzr40Targets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT kzr40Targets NAMESPACE kzr40:: DESTINATION ${kzr40_config_destination})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kzr40Config.cmake.in
  ${PROJECT_BINARY_DIR}/kzr40Config.cmake INSTALL_DESTINATION ${kzr40_config_destination})
# Before 1.0 a minor version may change the boundary.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kzr40ConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kzr40Config.cmake ${PROJECT_BINARY_DIR}/kzr40ConfigVersion.cmake
  DESTINATION ${kzr40_config_destination})
