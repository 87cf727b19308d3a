# The Debian package (`make package`): CPack's DEB generator over the install rules of
# cmake/Install.cmake. dpkg-shlibdeps works out the shared libraries the program links (SDL2,
# SDL2_ttf, SDL2_image, fontconfig, libjpeg); the fonts and fontconfig's configuration are
# named by hand, as the program finds its fonts at run time. Depends on dpkg-dev.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvoth-mutador)
set(CPACK_PACKAGE_VERSION 1.0)
set(CPACK_PACKAGE_CONTACT "Zarvoth Mutador maintainers <maintainers@users.noreply.c-seed-0017b790.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2-D space shooter: the last Zarvoth ship against the Federation fleet")
# One string with its own line breaks (a list would join with semicolons).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "You command the last ship of a Zarvoth squadron across two sectors. The\n"
       "ship scrolls up through a star field, you steer it with the keyboard and\n"
       "fight with the mouse, and a friendly supply ship restocks your torpedoes\n"
       "when you can judge its distance.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-dejavu-core, fonts-urw-base35")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
