# The cases run the built program.
if(TARGET tarvex-cli)
  add_dependencies(${target} tarvex-cli)
endif()
