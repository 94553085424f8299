# The music of the asset generator: its sources, and the scores it renders (edits re-run it).
set(ASSETGEN_MUSIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/music.cpp
    ${CMAKE_CURRENT_LIST_DIR}/score.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instrument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/synth.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mixer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wavWriter.cpp)
set(ASSETGEN_MUSIC_DATA
    ${CMAKE_CURRENT_LIST_DIR}/scores/worldHost.txt
    ${CMAKE_CURRENT_LIST_DIR}/scores/introMusic.txt
    ${CMAKE_CURRENT_LIST_DIR}/scores/changeChapter.txt)
