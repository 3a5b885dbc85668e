# Runs at install time: copies the headers listed when the library was built (public_headers.cmake)
# into the prefix, each in its folder.
file(STRINGS "${KZR40_HEADER_LIST}" kzr40_headers)
if(NOT kzr40_headers)
  message(FATAL_ERROR "no public headers listed in ${KZR40_HEADER_LIST}: build the project first")
endif()
foreach(header IN LISTS kzr40_headers)
  get_filename_component(folder "${header}" DIRECTORY)
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KZR40_HEADER_DESTINATION}/${folder}"
       TYPE FILE FILES "${KZR40_SOURCE_DIR}/${header}")
endforeach()
