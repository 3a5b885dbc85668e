# cmake -DSOURCE_DIR=... -DDEPFILE=... -DOUTPUT=... -P list_headers.cmake
# Turns the compiler's dependency file of the boundary headers into their paths relative to the
# source tree, one a line, leaving out the generated file that includes them.
file(READ ${DEPFILE} deps)
string(REGEX REPLACE "\\\\\n" " " deps "${deps}")
string(REGEX REPLACE "^[^:]*: *" "" deps "${deps}")
string(REGEX REPLACE "[ \t\n]+" ";" deps "${deps}")
set(headers)
foreach(dep IN LISTS deps)
  if(dep MATCHES "\\.h$")
    get_filename_component(dep ${dep} ABSOLUTE)  # folds a "../" of a relative include
    file(RELATIVE_PATH relative ${SOURCE_DIR} ${dep})
    if(relative MATCHES "^\\.\\./")
      message(FATAL_ERROR "a boundary header includes ${dep}, which is outside the source tree")
    endif()
    list(APPEND headers ${relative})
  endif()
endforeach()
list(REMOVE_DUPLICATES headers)
list(SORT headers)
list(JOIN headers "\n" text)
file(WRITE ${OUTPUT} "${text}\n")
