# The Windows build: cross-compiled with mingw-w64 against the static Qt of
# the Windows kit (tools/windows-check.sh unpacks it and configures this), its
# programs run under wine. The kit's README says how its Qt was built.
#
#   LUMET_WINDOWS_KIT   the kit's folder: the Qt tarball, tinyxml2's source
#   LUMET_HOST_ARTGEN   artgen of the host build: it draws the images here too
#   LUMET_WINEPREFIX    the wine prefix in which CTest runs the programs

set(LUMET_WINDOWS_KIT "${PROJECT_SOURCE_DIR}/../shared/windows" CACHE PATH "Folder of the Windows kit")
set(LUMET_HOST_ARTGEN "" CACHE FILEPATH "artgen built for the host")
set(LUMET_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for running the tests")

# Libraries such as the crash-report stand-ins carry their runtime too, so
# wine needs no MinGW DLL beside them (programs get -static from the toolchain).
string(APPEND CMAKE_SHARED_LINKER_FLAGS " -static")

# DBus only so that the host-only folders, declared but never built, resolve.
find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Widgets DBus Test)

# The kit's Qt has no LinguistTools: translations are compiled by Debian's
# lrelease, which runs here.
find_package(Qt5LinguistTools 5.15 REQUIRED PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/cmake
             /usr/lib/x86_64-linux-gnu/cmake NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

# tinyxml2 from source: Debian ships it for Linux only.
set(tinyxml2_dir ${LUMET_WINDOWS_KIT}/tinyxml2-9.0.0)
if(NOT EXISTS ${tinyxml2_dir}/tinyxml2.cpp)
  message(FATAL_ERROR "tinyxml2's source is not in ${tinyxml2_dir}: set LUMET_WINDOWS_KIT")
endif()
add_library(lumet_tinyxml2 STATIC ${tinyxml2_dir}/tinyxml2.cpp)
target_include_directories(lumet_tinyxml2 SYSTEM PUBLIC ${tinyxml2_dir})
add_library(tinyxml2::tinyxml2 ALIAS lumet_tinyxml2)

# The images are drawn by the host's artgen, whatever it draws and lists;
# rcc, a host tool of the kit, compiles them into the Windows program.
if(NOT EXISTS "${LUMET_HOST_ARTGEN}")
  message(FATAL_ERROR "LUMET_HOST_ARTGEN must name artgen of a host build")
endif()
add_executable(artgen IMPORTED)
set_target_properties(artgen PROPERTIES IMPORTED_LOCATION ${LUMET_HOST_ARTGEN})

# CTest runs each Windows program under wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine-run.sh --prefix ${LUMET_WINEPREFIX})

# Suites (or their German runs) that cannot run as Windows programs, besides
# those that drive the host's processes over D-Bus and X (they link the test
# support library or QtDBus): the registry, crash-report and fuzzing suites
# that read Linux registry files or load Linux libraries, the test of the
# Linux lock folder of the single instance, the screenshot
# script, and the German profile run, which first makes sure that the C
# library prints in German: on Windows the program never adopts the user's
# locale for the C library.
set(LUMET_HOST_ONLY_TESTS app_registry app_single_instance crash_reporter fuzz_registry_file_replay ScreenshotTest profile_documents_de)
set(LUMET_HOST_ONLY_LIBS lumet_testsupport Qt5::DBus)
# The lighting service for Linux and everything of it (its core, rigs, effect
# engine and OpenRGB client) is never built for Windows.
set(LUMET_HOST_ONLY_LIB_PATTERN "^lumet_(service_core|virtual_rig|engine|openrgb)")

# lumet_windows_test(NAME LIBS ENV NO_GERMAN): registers the suite NAME for
# wine with the offscreen platform, or, where it cannot run on Windows, leaves
# it unbuilt and its tests disabled, so the host's definitions still resolve.
function(lumet_windows_test name libs env no_german)
  set(variants ${name})
  if(NOT no_german)
    list(APPEND variants ${name}_de)
  endif()
  set(host_only FALSE)
  if(name IN_LIST LUMET_HOST_ONLY_TESTS)
    set(host_only TRUE)
  endif()
  foreach(lib ${LUMET_HOST_ONLY_LIBS})
    if(lib IN_LIST libs)
      set(host_only TRUE)
    endif()
  endforeach()
  foreach(lib ${libs})
    if(lib MATCHES "${LUMET_HOST_ONLY_LIB_PATTERN}")
      set(host_only TRUE)
    endif()
  endforeach()
  if(host_only)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
  else()
    # Where the suite uses QtGui at all, beside the plugins Qt links by default.
    set_property(TARGET ${name} APPEND PROPERTY QT_PLUGINS Qt5::QOffscreenIntegrationPlugin)
  endif()
  foreach(test ${variants})
    add_test(NAME ${test} COMMAND ${name})
    if(host_only OR test IN_LIST LUMET_HOST_ONLY_TESTS)
      set_tests_properties(${test} PROPERTIES DISABLED ON)
    endif()
  endforeach()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env};LANG=C.UTF-8;LC_ALL=C.UTF-8" TIMEOUT 300)
  if(NOT no_german)
    set_tests_properties(${name}_de PROPERTIES ENVIRONMENT "${env};LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8" TIMEOUT 300)
  endif()
endfunction()

# lumet_windows_settle_targets(DIR): walks DIR and the folders below it.
# - The static Qt links its plugins into everything that uses QtGui, static
#   libraries included, each compiling the plugins' import code again; only
#   the programs get them.
# - Every target that is part of the Linux lighting service or links it (test
#   support libraries of its folders included) is left unbuilt, so the host's
#   definitions still resolve.
function(lumet_windows_settle_targets dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      continue()
    endif()
    if(type STREQUAL "STATIC_LIBRARY")
      set_target_properties(${target} PROPERTIES QT_NO_PLUGINS "${Qt5Gui_PLUGINS};${Qt5Widgets_PLUGINS}")
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(name ${target} ${links})
      if(name MATCHES "${LUMET_HOST_ONLY_LIB_PATTERN}")
        set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
      endif()
    endforeach()
  endforeach()
  get_property(folders DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(folder ${folders})
    lumet_windows_settle_targets(${folder})
  endforeach()
endfunction()
