# The packer tests use gmock matchers.
target_link_libraries(${target} PRIVATE GTest::gmock)
