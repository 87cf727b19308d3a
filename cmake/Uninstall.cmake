# Uninstall: removes every file an install manifest lists, then the folders of the game's own
# that are left empty. Nothing else is touched: a player's folder is never in a manifest.
# Usage: cmake -DMANIFEST=FILE -P Uninstall.cmake. Depends on rmdir (coreutils).
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing recorded as installed: ${MANIFEST} does not exist")
endif()

file(STRINGS "${MANIFEST}" installed)
set(folders)
foreach(file IN LISTS installed)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
  # The folders up to and including the nearest one named after the game are the game's own.
  set(chain)
  cmake_path(GET file PARENT_PATH folder)
  while(NOT folder STREQUAL "/" AND NOT folder STREQUAL "")
    list(APPEND chain "${folder}")
    cmake_path(GET folder FILENAME name)
    if(name STREQUAL "zarvoth-mutador")
      list(APPEND folders ${chain})
      break()
    endif()
    cmake_path(GET folder PARENT_PATH folder)
  endwhile()
endforeach()

# Deepest first, so a folder's emptied subfolders are gone before it; rmdir leaves any folder
# that still holds something.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  execute_process(COMMAND rmdir --ignore-fail-on-non-empty "${folder}")
endforeach()
