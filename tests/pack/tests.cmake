# The packer's tests also run against the real file system through the POSIX layer.
target_link_libraries(${target} PRIVATE tarvex_posix GTest::gmock)
