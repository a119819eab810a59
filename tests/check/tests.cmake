# The check's tests: its rules on the fakes, and the built program over the projects in tests/data/check.
target_link_libraries(${target} PRIVATE tarvex_check)
if(TARGET tarvex-cli)
  add_dependencies(${target} tarvex-cli)
endif()
