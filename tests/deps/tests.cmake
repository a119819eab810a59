# The dependencies' tests: the reader and the resolution on fakes, the POSIX registry and type-library
# readers on Wine's real libraries, and the built program over the projects in tests/data/deps/cases.
target_link_libraries(${target} PRIVATE tarvex_deps)
if(TARGET tarvex-cli)
  add_dependencies(${target} tarvex-cli)
endif()
