# The desktop window's tests run Qt on its offscreen platform (set unless QT_QPA_PLATFORM says otherwise).
if(TARGET tarvex_qt)
  target_link_libraries(${target} PRIVATE tarvex_qt_window Qt6::Test)
else()
  # Without Qt the window is not built; its tests say so instead of failing to compile.
  set_property(TARGET ${target} PROPERTY SOURCES ${CMAKE_CURRENT_LIST_DIR}/no_qt/skipped.cpp)
endif()
