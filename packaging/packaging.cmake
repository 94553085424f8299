# packaging.cmake -- the Debian package: where the game, its data, its launcher, its menu entry,
# its icon and its licences go once installed under /usr, and CPack's settings for `cpack -G DEB`.
# Included from the top-level CMakeLists.txt, so paths are relative to the repository's root.

set(KAIVA_PACKAGE_MAINTAINER "Kaiva developers <kaiva@example.org>"
    CACHE STRING "Name and e-mail address of the Debian package's maintainer")

# Debian's places for a game (relative to the /usr prefix): the launcher the player types or the
# menu starts, the binary that only the launcher runs, the data folder that holds ./assets/.
set(KAIVA_LAUNCHER_DIR games)
set(KAIVA_BINARY_DIR libexec/kaiva)
set(KAIVA_DATA_DIR share/games/kaiva)
set(KAIVA_DOC_DIR share/doc/kaiva)
set(KAIVA_PACKAGING ${CMAKE_BINARY_DIR}/packaging)

# The manual page and the changelog carry the version, and Debian wants both compressed without a
# time stamp (the same bytes on every build).
set(KAIVA_VERSION ${PROJECT_VERSION})
configure_file(packaging/kaiva.6 ${KAIVA_PACKAGING}/kaiva.6.in @ONLY)
configure_file(packaging/changelog ${KAIVA_PACKAGING}/changelog.in @ONLY)
set(KAIVA_PACKAGE_DOCS)
foreach(document kaiva.6 changelog)
    set(compressed ${KAIVA_PACKAGING}/${document}.gz)
    add_custom_command(
        OUTPUT ${compressed}
        COMMAND gzip -9 -n -c ${KAIVA_PACKAGING}/${document}.in > ${compressed}
        DEPENDS ${KAIVA_PACKAGING}/${document}.in
        COMMENT "Compressing ${document} for the package")
    list(APPEND KAIVA_PACKAGE_DOCS ${compressed})
endforeach()
add_custom_target(kaiva_package_docs ALL DEPENDS ${KAIVA_PACKAGE_DOCS})

install(TARGETS kaiva RUNTIME DESTINATION ${KAIVA_BINARY_DIR})
# Debian's hardening of the binary: the global offset table read-only once loaded.
target_link_options(kaiva PRIVATE LINKER:-z,relro,-z,now)
configure_file(packaging/kaiva.sh.in ${KAIVA_PACKAGING}/kaiva @ONLY)
install(PROGRAMS ${KAIVA_PACKAGING}/kaiva DESTINATION ${KAIVA_LAUNCHER_DIR})
# The generated assets; the font is not copied but linked to the file of fonts-dotgothic16, so the
# package carries one font less and the font's own package keeps its licence and updates.
install(DIRECTORY ${KAIVA_ASSETS}/ DESTINATION ${KAIVA_DATA_DIR}/assets PATTERN font EXCLUDE)
install(CODE "
    set(fontFolder \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KAIVA_DATA_DIR}/assets/font\")
    file(RELATIVE_PATH target \"\${CMAKE_INSTALL_PREFIX}/${KAIVA_DATA_DIR}/assets/font\"
         \"${KAIVA_FONT_SOURCE}\")
    file(MAKE_DIRECTORY \"\${fontFolder}\")
    message(STATUS \"Linking: \${fontFolder}/pixelTxt.ttf -> \${target}\")
    file(CREATE_LINK \"\${target}\" \"\${fontFolder}/pixelTxt.ttf\" SYMBOLIC)")
install(DIRECTORY ${KAIVA_ICONS}/ DESTINATION share/icons/hicolor)
install(FILES packaging/kaiva.desktop DESTINATION share/applications)
install(FILES packaging/kaiva.lintian-overrides DESTINATION share/lintian/overrides RENAME kaiva)
install(FILES ${KAIVA_PACKAGING}/kaiva.6.gz DESTINATION share/man/man6)
install(FILES packaging/copyright ${KAIVA_PACKAGING}/changelog.gz DESTINATION ${KAIVA_DOC_DIR})

# Where `cpack -G DEB` writes the package, under the name CPack gives it.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE KAIVA_DEB_ARCHITECTURE
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(KAIVA_DEB_DIR ${CMAKE_BINARY_DIR}/package)
set(KAIVA_DEB ${KAIVA_DEB_DIR}/kaiva_${PROJECT_VERSION}_${KAIVA_DEB_ARCHITECTURE}.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DIRECTORY ${KAIVA_DEB_DIR})
set(CPACK_PACKAGE_NAME kaiva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down 2D story role-playing game")
# Lines of the long description stay under 80 characters, for the 80-column terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Kaiva, a young woman of a native tribe, guides her people against the invaders"
    "who have come into their lands. She roams a world of 250 x 250 cells, talks"
    "with the sage, the villagers and the invaders, makes choices that raise or"
    "lower the tribe's hope, gathers apples, finds weapons and armour, trains,"
    "fights turn-based battles and reaches one of six endings."
    ""
    "The game runs full screen, with pixel art and music of its own. Its text is in"
    "Italian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KAIVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the binary (dpkg-shlibdeps); the font is only a link, so its package is
# named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dotgothic16)
include(CPack)
