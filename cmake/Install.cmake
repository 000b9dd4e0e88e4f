# Installed layout (cmake --install, DESTDIR respected) and the Debian package
# (cpack -G DEB, see ./dev.sh package):
#   bin/vorlune, bin/vorlune-bind, bin/vorlune-run
#   share/man/man6/*.6             manual pages
#   share/vorlune/meta/            Lua language server annotations
#   share/vorlune/examples/        example games with their images and sounds
#   share/doc/vorlune/             README.md and docs/
# The examples are runnable data, kept out of share/doc, which minimal
# systems often leave out when installing packages.
include(GNUInstallDirs)

install(TARGETS vorlune vorlune-bind vorlune-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages and annotations are installed when present in the source tree.
file(GLOB VORLUNE_MAN_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/share/man/*.6)
if(VORLUNE_MAN_PAGES)
  install(FILES ${VORLUNE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()
file(GLOB_RECURSE VORLUNE_META_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/share/meta/*)
if(VORLUNE_META_FILES)
  install(DIRECTORY share/meta/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vorlune/meta)
endif()

install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vorlune/examples)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB VORLUNE_DOCS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${VORLUNE_DOCS} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlune)
set(CPACK_PACKAGE_CONTACT "Vorlune developers <vorlune@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lua 5.2 interpreter for small 2D games and graphics programs")
set(CPACK_PACKAGE_DESCRIPTION "Vorlune runs Lua 5.2 scripts that open windows, draw, play sounds and read\nthe keyboard, mouse and joysticks through SDL2. vorlune-bind turns a script\ninto a standalone game executable; vorlune-run plays a game headless on a\nvirtual clock with scripted input and checks its frames against golden pictures.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# SDL2_image is opened with dlopen, out of dpkg-shlibdeps' sight: declare it.
find_program(VORLUNE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VORLUNE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-image-2.0-0")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "liblua5.2-0, libsdl2-2.0-0, libsdl2-mixer-2.0-0, libsdl2-image-2.0-0")
endif()
include(CPack)
