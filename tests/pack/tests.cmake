# The packer tests use gmock matchers.
target_link_libraries(${target} PRIVATE GTest::gmock)
# The command's own tests run the built program.
if(TARGET tarvex-cli)
  add_dependencies(${target} tarvex-cli)
endif()
