# The web panes on Qt WebEngine.
find_package(Qt6 REQUIRED COMPONENTS WebEngineWidgets)
add_library(lumora_webpane STATIC
    ${CMAKE_CURRENT_LIST_DIR}/webpane.h
    ${CMAKE_CURRENT_LIST_DIR}/qtwebpane.h
    ${CMAKE_CURRENT_LIST_DIR}/qtwebpane.cpp)
target_include_directories(lumora_webpane PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lumora_webpane PUBLIC Qt6::Widgets PRIVATE Qt6::WebEngineWidgets)
