# Fails when plug-in code catches a host error outside the three helpers of
# the error policy (src/interfaces/host/HostError.h): show and stop
# (access/Guarded.h), a read with a stated fallback (access/ReadOr.h), and a
# host callback's boundary (access/HostCallback.h). Any other catch would be a
# fourth habit nobody has named.
# Run as: cmake -DROOT=<source dir> -P tools/CheckErrorPolicy.cmake
set(helpers src/access/Guarded.h src/access/ReadOr.h src/access/HostCallback.h)
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/src/*.h ${ROOT}/src/*.cpp)
set(faults 0)
foreach(file IN LISTS files)
  list(FIND helpers "${file}" helper)
  if(NOT helper EQUAL -1)
    continue()
  endif()
  file(STRINGS ${ROOT}/${file} catches REGEX "catch[ \t]*\\([ \t]*(const[ \t]+)?(tessera::)?(host::)?HostError")
  foreach(line IN LISTS catches)
    message(SEND_ERROR "${file}: a host error is caught outside the error policy's helpers: ${line}")
    math(EXPR faults "${faults} + 1")
  endforeach()
endforeach()
list(LENGTH files count)
if(faults EQUAL 0)
  message(STATUS "error policy: ${count} files, host errors caught only by its helpers")
endif()
