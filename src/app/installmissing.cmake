# Run at install time: puts each of the program's resources (our spreadsheet templates) into
# the program folder's data tree, but only where no file of that name is there yet. A template
# in the program folder may have been edited by the user, and an install must never replace it.
# Expects QUORVANE_RESOURCES, the resources folder of the sources.
set(program_folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(GLOB_RECURSE resources LIST_DIRECTORIES false RELATIVE "${QUORVANE_RESOURCES}" "${QUORVANE_RESOURCES}/*")
foreach(resource IN LISTS resources)
  set(target "${program_folder}/${resource}")
  if(EXISTS "${target}")
    message(STATUS "Kept: ${target}")
  else()
    get_filename_component(folder "${target}" DIRECTORY)
    file(INSTALL "${QUORVANE_RESOURCES}/${resource}" DESTINATION "${folder}")
  endif()
endforeach()
