# The texture generator's code and the sprite files it reads (listed so that editing a sprite
# re-runs the generator).
set(ASSETGEN_ART_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/backdropArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/characterArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/groundArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/iconArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/interfaceArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objectArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/palette.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panelArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pixelGrid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ravineArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/riverArt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/textures.cpp)
set(ASSETGEN_ART_DATA
    ${CMAKE_CURRENT_LIST_DIR}/sprites/interface.txt
    ${CMAKE_CURRENT_LIST_DIR}/sprites/kaiva.txt
    ${CMAKE_CURRENT_LIST_DIR}/sprites/objects.txt
    ${CMAKE_CURRENT_LIST_DIR}/sprites/people.txt)
