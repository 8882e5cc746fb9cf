# The audio player and the program's volume, on Qt Multimedia (GStreamer).
find_package(Qt6 REQUIRED COMPONENTS Multimedia)
add_library(lumora_media STATIC
    ${CMAKE_CURRENT_LIST_DIR}/mediaplayer.h
    ${CMAKE_CURRENT_LIST_DIR}/volume.h
    ${CMAKE_CURRENT_LIST_DIR}/qtmediaplayer.h
    ${CMAKE_CURRENT_LIST_DIR}/qtmediaplayer.cpp)
target_include_directories(lumora_media PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lumora_media PUBLIC Qt6::Core PRIVATE Qt6::Multimedia)
