# The tests' working folder: emptied before them (MODE=prepare), and found
# still empty after them (MODE=check). A test that writes where it stands
# would write into a user's working folder; it writes into its own.
if(MODE STREQUAL "prepare")
  file(REMOVE_RECURSE "${FOLDER}")
  file(MAKE_DIRECTORY "${FOLDER}")
  return()
endif()
file(GLOB_RECURSE left RELATIVE "${FOLDER}" LIST_DIRECTORIES true "${FOLDER}/*")
if(left)
  message(FATAL_ERROR "Tests wrote into their working folder ${FOLDER}: ${left}")
endif()
