# The main window's form resource: written by zarvoth-form at build time and embedded in the game.
set(FORM_RESOURCE ${CMAKE_BINARY_DIR}/generated/Form1.res)
set(FORM_SOURCE ${CMAKE_BINARY_DIR}/generated/FormResourceData.cpp)
add_custom_command(
  OUTPUT ${FORM_RESOURCE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND zarvoth-form ${FORM_RESOURCE}
  DEPENDS zarvoth-form
  COMMENT "Writing the main window's form resource")
add_custom_command(
  OUTPUT ${FORM_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${FORM_RESOURCE} -DOUTPUT=${FORM_SOURCE} -DFUNCTION=FormResource
          -DHEADER=game/FormResource.h -P ${CMAKE_SOURCE_DIR}/cmake/EmbedBinary.cmake
  DEPENDS ${FORM_RESOURCE} ${CMAKE_SOURCE_DIR}/cmake/EmbedBinary.cmake)
target_sources(game PRIVATE ${FORM_SOURCE})
