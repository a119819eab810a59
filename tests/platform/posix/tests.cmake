# The end-to-end tests run the built program.
if(TARGET tarvex)
  add_dependencies(${target} tarvex)
  target_compile_definitions(${target} PRIVATE TARVEX_PROGRAM="$<TARGET_FILE:tarvex>")
endif()
