set(ASSETGEN_MAP_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/maps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/noise.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tiling.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wilderness.cpp)
set(ASSETGEN_MAP_DATA ${CMAKE_CURRENT_LIST_DIR}/world.layout)
