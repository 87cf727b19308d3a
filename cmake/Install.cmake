# The installed game: the program out of the players' path, the generated data files and
# icons, a launcher that gives each player their own folder, the menu entry, the software-centre
# entry, the manual page, the README and the Debian package's changelog, copyright and lintian
# notes. The data files and icons are made by zarvoth-content at build time; the data files are
# also what `make run` plays from (build/run/Data), and what zarvoth-screenshots plays for the
# entry's pictures. Depends on GNUInstallDirs.
include(GNUInstallDirs)

set(GAME_NAME zarvoth-mutador)
set(GAME_PROGRAM_DIR lib/${GAME_NAME})
set(GAME_DATA_DIR ${CMAKE_INSTALL_DATADIR}/${GAME_NAME}/Data)
set(GAME_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${GAME_NAME})
set(GAME_ICON_SIZES 48 128 256)

set(RUN_DATA_DIR ${CMAKE_BINARY_DIR}/run/Data)
set(RUN_DATA_FILES GGraphics.dxg MGraphics.dxg Sound.dxw Music.dxw)
list(TRANSFORM RUN_DATA_FILES PREPEND ${RUN_DATA_DIR}/)
add_custom_command(
  OUTPUT ${RUN_DATA_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RUN_DATA_DIR}
  COMMAND zarvoth-content ${RUN_DATA_DIR}
  DEPENDS zarvoth-content
  COMMENT "Generating the game's data files")

set(ICON_FILES)
foreach(size ${GAME_ICON_SIZES})
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}/${GAME_NAME}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
    COMMAND zarvoth-content --icon ${size} ${icon}
    DEPENDS zarvoth-content
    COMMENT "Drawing the ${size} pixel icon")
  list(APPEND ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page and the changelog are installed compressed, as Debian expects; -n keeps the
# bytes reproducible.
function(add_compressed source output)
  add_custom_command(
    OUTPUT ${output}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${output}
    COMMAND gzip -9nf ${output}
    DEPENDS ${source})
endfunction()
set(MANUAL ${CMAKE_BINARY_DIR}/dist/${GAME_NAME}.6)
set(CHANGELOG ${CMAKE_BINARY_DIR}/dist/changelog)
add_compressed(${CMAKE_SOURCE_DIR}/dist/${GAME_NAME}.6 ${MANUAL})
add_compressed(${CMAKE_SOURCE_DIR}/dist/changelog ${CHANGELOG})

add_custom_target(content ALL DEPENDS ${RUN_DATA_FILES} ${ICON_FILES} ${MANUAL}.gz ${CHANGELOG}.gz)

# The software-centre entry. Catalogues fetch its screenshots from the web, so it names them by
# address; zarvoth-screenshots takes them from the running game into build/screenshots, to be
# published there with the release.
set(ZARVOTH_HOMEPAGE_URL "https://zarvoth.github.io/zarvoth-mutador/" CACHE STRING "The game's home page")
set(ZARVOTH_SCREENSHOT_URL "${ZARVOTH_HOMEPAGE_URL}screenshots/" CACHE STRING
    "Where the release's screenshots are published, ending in /")
set(METAINFO ${CMAKE_BINARY_DIR}/dist/io.github.zarvoth.ZarvothMutador.metainfo.xml)
configure_file(dist/io.github.zarvoth.ZarvothMutador.metainfo.xml.in ${METAINFO} @ONLY)
set(SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots)
set(SCREENSHOT_FILES menu.png options.png battle.png)
list(TRANSFORM SCREENSHOT_FILES PREPEND ${SCREENSHOT_DIR}/)
add_custom_command(
  OUTPUT ${SCREENSHOT_FILES}
  COMMAND zarvoth-screenshots ${RUN_DATA_DIR} ${SCREENSHOT_DIR}
  DEPENDS zarvoth-screenshots ${RUN_DATA_FILES}
  COMMENT "Taking the screenshots from the game")
add_custom_target(screenshots ALL DEPENDS ${SCREENSHOT_FILES})

# The launcher finds the program and the data relative to itself, so any prefix works.
file(RELATIVE_PATH LAUNCHER_TO_PROGRAM /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${GAME_PROGRAM_DIR}/zarvoth)
file(RELATIVE_PATH LAUNCHER_TO_DATA /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${GAME_DATA_DIR})
configure_file(dist/${GAME_NAME}.in ${CMAKE_BINARY_DIR}/dist/${GAME_NAME} @ONLY)

install(TARGETS zarvoth RUNTIME DESTINATION ${GAME_PROGRAM_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/${GAME_NAME} DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${RUN_DATA_FILES} DESTINATION ${GAME_DATA_DIR})
install(FILES dist/${GAME_NAME}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${MANUAL}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES README.md ${CHANGELOG}.gz dist/copyright DESTINATION ${GAME_DOC_DIR})
install(FILES dist/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${GAME_NAME})
