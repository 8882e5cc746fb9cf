# The HTTP reachability probe and its libcurl backend.
add_library(lumora_probe STATIC
    ${CMAKE_CURRENT_LIST_DIR}/urlprobe.h
    ${CMAKE_CURRENT_LIST_DIR}/urlprobe.cpp)
target_include_directories(lumora_probe PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lumora_probe PUBLIC Qt6::Core PRIVATE CURL::libcurl)
