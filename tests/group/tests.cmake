# The group's rules on their own, and the built program over the groups in tests/data/group.
target_link_libraries(${target} PRIVATE tarvex_group)
if(TARGET tarvex-cli)
  add_dependencies(${target} tarvex-cli)
endif()
