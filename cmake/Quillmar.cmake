# Helpers that give every module the same shape.
#
# Core modules are plain C++: they are compiled with a forced include of
# no_qt_guard.h, which poisons Qt's identifiers, so including a Qt header from
# core code is a compile error even if the include path happens to reach it.

set(QM_WARNINGS -Wall -Wextra -Wpedantic)
if(QM_WERROR)
  list(APPEND QM_WARNINGS -Werror)
endif()
# gcc 12 reports std::string concatenations as overlapping copies at -O2
# (a known false positive of its -Wrestrict); keep the warning, not the error.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND QM_WARNINGS -Wno-error=restrict -Wno-restrict)
endif()
set(QM_NO_QT_GUARD ${CMAKE_CURRENT_LIST_DIR}/no_qt_guard.h)

function(qm_project_options target)
  target_compile_options(${target} PRIVATE ${QM_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# qm_core_library(<name> SOURCES ... [DEPS ...])
function(qm_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  qm_project_options(${name})
  target_compile_options(${name} PRIVATE -include ${QM_NO_QT_GUARD})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# qm_qt_library(<name> SOURCES ... [DEPS ...]) — only for platform/qt, app and forms/.
function(qm_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  qm_project_options(${name})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PUBLIC Qt6::Widgets ${ARG_DEPS})
endfunction()
