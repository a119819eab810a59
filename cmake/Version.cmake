# The version both programs print: the project's version, with the commit when the sources are a git
# checkout. The header is rewritten at every build, but only touched when its text changes, so a new
# commit recompiles the two mains and nothing else.
set(TARVEX_VERSION_DIR ${CMAKE_BINARY_DIR}/generated)
add_custom_target(
  tarvex_version_header
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION}
          -DOUTPUT=${TARVEX_VERSION_DIR}/tarvex_version_line.h -P ${CMAKE_CURRENT_LIST_DIR}/WriteVersion.cmake
  BYPRODUCTS ${TARVEX_VERSION_DIR}/tarvex_version_line.h
  COMMENT "Writing the version line")
add_library(tarvex_version INTERFACE)
target_include_directories(tarvex_version INTERFACE ${TARVEX_VERSION_DIR})
add_dependencies(tarvex_version tarvex_version_header)

# The programs are found by target name wherever their folders put them.
foreach(program tarvex tarvex-cli)
  if(TARGET ${program})
    target_link_libraries(${program} PRIVATE tarvex_version)
  endif()
endforeach()

# Both programs answer --version with the line. (Wine may say something of its own on stderr, which ctest
# reads with the output.)
if(TARVEX_TESTS)
  foreach(program tarvex tarvex-cli)
    if(TARGET ${program})
      add_test(NAME ${program}_version COMMAND ${program} --version)
      set_tests_properties(
        ${program}_version PROPERTIES PASS_REGULAR_EXPRESSION
        "(^|\n)Tarvex ${PROJECT_VERSION}( \\(commit [0-9a-f]+(, modified)?\\))?\r?\n")
    endif()
  endforeach()
endif()
