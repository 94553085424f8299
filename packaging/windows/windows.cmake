# windows.cmake -- what the Windows zip holds: kaiva.exe with OpenAL32.dll beside it, assets/ and
# licences/ (docs/packaging.md). scripts/windows.sh packs it with CPack into
# build-windows/kaiva-<version>-windows-x64.zip, whose files unpack into a folder of that name.
install(TARGETS kaiva RUNTIME DESTINATION .)
install(FILES ${KAIVA_WINDOWS_PREFIX}/bin/OpenAL32.dll DESTINATION .)
install(DIRECTORY ${KAIVA_ASSETS}/ DESTINATION assets)

# Ours, the font's, and those of every library inside the executable or beside it. The libraries
# built from Debian's sources left theirs in the prefix (scripts/windows.sh); zlib, the MinGW-w64
# runtime and GCC's runtime come from the Debian packages they were installed with.
install(FILES packaging/windows/licences.txt DESTINATION licences RENAME README.txt)
install(FILES LICENSE DESTINATION licences RENAME Kaiva-MIT.txt)
install(FILES ${KAIVA_FONT_LICENCE} DESTINATION licences RENAME DotGothic16-OFL.txt)
install(DIRECTORY ${KAIVA_WINDOWS_PREFIX}/licences/ DESTINATION licences)
install(FILES /usr/share/doc/libz-mingw-w64-dev/copyright DESTINATION licences/zlib)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licences/mingw-w64-runtime)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright /usr/share/common-licenses/GPL-3
    DESTINATION licences/gcc-runtime)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kaiva)
set(CPACK_PACKAGE_FILE_NAME kaiva-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
