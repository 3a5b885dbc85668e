# The headers a host of libkzr40.so compiles against: the boundary headers and everything they
# include, found by the compiler when the library is built, so that a header a boundary header starts
# to include is installed without a list to keep. Installed under include/kzr40/ in the source
# layout, so a host writes #include "plugin/exports.h" as the library's own code does.
set(KZR40_BOUNDARY_HEADERS
  platform/string_list.h platform/table.h platform/text_file.h
  plugin/entidade.h plugin/exports.h plugin/registros.h)

set(kzr40_headers_dir ${PROJECT_BINARY_DIR}/public-headers)
set(kzr40_roots)
foreach(header IN LISTS KZR40_BOUNDARY_HEADERS)
  string(APPEND kzr40_roots "#include \"${header}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${kzr40_headers_dir}/roots.cpp CONTENT "${kzr40_roots}")

add_custom_command(OUTPUT ${kzr40_headers_dir}/headers.txt
  COMMAND ${CMAKE_CXX_COMPILER} ${CMAKE_CXX20_STANDARD_COMPILE_OPTION} -I${PROJECT_SOURCE_DIR}
          -MM -MF ${kzr40_headers_dir}/headers.d -MT ${kzr40_headers_dir}/headers.txt ${kzr40_headers_dir}/roots.cpp
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DDEPFILE=${kzr40_headers_dir}/headers.d
          -DOUTPUT=${kzr40_headers_dir}/headers.txt -P ${CMAKE_CURRENT_LIST_DIR}/list_headers.cmake
  DEPENDS ${kzr40_headers_dir}/roots.cpp ${CMAKE_CURRENT_LIST_DIR}/list_headers.cmake
  DEPFILE ${kzr40_headers_dir}/headers.d
  COMMENT "Listing the headers a host of libkzr40.so needs")
add_custom_target(kzr40_public_headers ALL DEPENDS ${kzr40_headers_dir}/headers.txt)

install(CODE "set(KZR40_HEADER_LIST \"${kzr40_headers_dir}/headers.txt\")
set(KZR40_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
set(KZR40_HEADER_DESTINATION \"${CMAKE_INSTALL_INCLUDEDIR}/kzr40\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install_headers.cmake)
