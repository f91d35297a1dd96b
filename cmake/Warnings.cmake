# Every target of ours gets the same warning set; third-party headers come in as
# system includes so their warnings do not count against us.
function(kestrovan_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                                           -Wnon-virtual-dtor)
  # GCC 12 at -O2 and above reports std::string concatenation in libstdc++'s
  # own headers as overlapping copies (a known false -Wrestrict).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(KESTROVAN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A module library: sources given, headers found from the repository root
# ("#include \"platform/Cp932.h\"").
function(kestrovan_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  kestrovan_warnings(${name})
endfunction()
