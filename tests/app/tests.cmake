target_link_libraries(${target} PRIVATE tarvex_resources)
