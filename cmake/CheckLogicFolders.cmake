# Fails when a file of a logic folder includes a Qt header. The logic of each
# module is plain C++ over platform/; only <module>/ui/, host/ and app/ may
# include Qt. Run as: cmake -DROOT=<source dir> -P CheckLogicFolders.cmake
set(logic_folders base platform core serial files nctools editor external dnc tools/ncsim tools/nctool tools/dnc)
set(offenders "")
foreach(folder IN LISTS logic_folders)
  file(GLOB sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*<Q")
    if(qt_includes)
      file(RELATIVE_PATH shown "${ROOT}" "${source}")
      list(APPEND offenders "${shown}: ${qt_includes}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " shown)
  message(FATAL_ERROR "Qt headers in logic folders (move the file into the module's ui/ folder):\n  ${shown}")
endif()
