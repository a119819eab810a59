# The Windows layer's own tests run on the real Windows API (under Wine when cross-built).
target_link_libraries(${target} PRIVATE tarvex_win32)
