# Shared build helpers.

# lumet_sources(VAR DIR): the sources of one folder, with the platform
# subfolder (win/ on Windows, linux/ elsewhere) that implements its layers.
function(lumet_sources var dir)
  file(GLOB common CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(WIN32)
    file(GLOB platform CONFIGURE_DEPENDS ${dir}/win/*.cpp ${dir}/win/*.h)
  else()
    file(GLOB platform CONFIGURE_DEPENDS ${dir}/linux/*.cpp ${dir}/linux/*.h)
  endif()
  set(${var} ${common} ${platform} PARENT_SCOPE)
endfunction()

# lumet_add_test(NAME SOURCES ... LIBS ... [ENV k=v ...] [NO_GERMAN])
# A QtTest executable run by CTest on a private session bus with the offscreen
# platform, once under the C locale and once under a German one, so that a
# number printed or read through the user's locale shows up as a failure.
function(lumet_add_test name)
  cmake_parse_arguments(T "NO_GERMAN" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    LUMET_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    LUMET_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  # QT_XCB_GL_INTEGRATION=none: the widgets never draw with OpenGL, so a panel
  # started on a test's X server does not load Mesa's GLX driver either.
  set(env QT_QPA_PLATFORM=offscreen XDG_DATA_DIRS=/nonexistent QT_XCB_GL_INTEGRATION=none
      ASAN_OPTIONS=detect_leaks=1
      LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ${T_ENV})
  if(WIN32)
    lumet_windows_test(${name} "${T_LIBS}" "${env}" "${T_NO_GERMAN}")
    return()
  endif()
  add_test(NAME ${name} COMMAND ${DBUS_RUN_SESSION} -- $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env};LANG=C.UTF-8;LC_ALL=C.UTF-8" TIMEOUT 300)
  if(NOT T_NO_GERMAN)
    add_test(NAME ${name}_de COMMAND ${DBUS_RUN_SESSION} -- $<TARGET_FILE:${name}>)
    set_tests_properties(${name}_de PROPERTIES ENVIRONMENT "${env};LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8" TIMEOUT 300)
  endif()
endfunction()

# lumet_library(NAME DIR): a static library of one folder's sources. A folder
# with headers only yields an interface library, so a layer can be declared
# before it has code.
function(lumet_library name dir)
  lumet_sources(srcs ${dir})
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  if(srcs)
    lumet_sources(all ${dir})
    add_library(${name} STATIC ${all})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
  endif()
endfunction()

# lumet_link(NAME deps...): links deps publicly whatever kind NAME turned out to be.
function(lumet_link name)
  get_target_property(kind ${name} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# lumet_install_configured(TEMPLATE DESTINATION): installs TEMPLATE (a file
# ending in .in) without that suffix into DESTINATION, which may use
# ${CMAKE_INSTALL_PREFIX} escaped as \${CMAKE_INSTALL_PREFIX}. In the template,
# @INSTALL_PREFIX@ becomes the prefix in force when installing, so the paths
# it names follow `cmake --install --prefix`; other @VAR@s are filled in at
# configure time.
function(lumet_install_configured template destination)
  get_filename_component(template ${template} ABSOLUTE)
  get_filename_component(name ${template} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  set(INSTALL_PREFIX "@INSTALL_PREFIX@")
  set(half ${CMAKE_CURRENT_BINARY_DIR}/install-templates/${name}.in)
  set(staged ${CMAKE_CURRENT_BINARY_DIR}/install-staged/${name})
  configure_file(${template} ${half} @ONLY)
  install(CODE "
    set(INSTALL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(\"${half}\" \"${staged}\" @ONLY)
    file(INSTALL DESTINATION \"${destination}\" TYPE FILE FILES \"${staged}\")")
endfunction()
