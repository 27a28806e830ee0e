# What the dialog does, without widgets: the Qt dialog (app/) and the native Windows dialog
# (win/) both stand on it.
add_library(quarnel_app_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/analyser_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_controller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drop_queue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language.cpp
  ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/threaded_reader.cpp)
target_link_libraries(quarnel_app_logic PUBLIC quarnel_core)
quarnel_warnings(quarnel_app_logic)
