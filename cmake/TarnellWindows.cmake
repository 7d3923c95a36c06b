# The Windows build: Tarnell.dll, ZetLib.dll and tarnell.exe side by side in bin/, each with the
# C and C++ runtimes linked in, so that nothing but system DLLs (and ZetLib.dll) is needed to load
# them. Included at the end of the top-level CMakeLists.txt, when every target exists.

# ---- The host library's functions, imported by name ---------------------------------------
# The plug-in binds to ZetLib.dll through an import library made from the list of the functions
# it calls, exactly as it binds to the CAD host's own library.
if(NOT CMAKE_DLLTOOL)
  find_program(CMAKE_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
endif()
set(TARNELL_ZETLIB_DEF ${PROJECT_SOURCE_DIR}/resources/ZetLib.def)
set(TARNELL_ZETLIB_IMPORTS ${PROJECT_BINARY_DIR}/libzetlib_imports.a)
add_custom_command(
  OUTPUT ${TARNELL_ZETLIB_IMPORTS}
  COMMAND ${CMAKE_DLLTOOL} -d ${TARNELL_ZETLIB_DEF} -l ${TARNELL_ZETLIB_IMPORTS} -D ZetLib.dll
  DEPENDS ${TARNELL_ZETLIB_DEF}
  COMMENT "Generating the import library of ZetLib.dll from ZetLib.def"
  VERBATIM)
add_custom_target(zetlib_import_library DEPENDS ${TARNELL_ZETLIB_IMPORTS})
target_link_libraries(zetlib_imports INTERFACE ${TARNELL_ZETLIB_IMPORTS})
add_dependencies(zetlib_imports zetlib_import_library)

# The Win32 dialog view needs the common controls (the list view).
target_link_libraries(tarnell_core PUBLIC comctl32)

# ---- Settings for every target of the build ----------------------------------------------------
function(tarnell_collect_targets directory out)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    tarnell_collect_targets(${subdirectory} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()
tarnell_collect_targets(${PROJECT_SOURCE_DIR} tarnell_all_targets)

foreach(target IN LISTS tarnell_all_targets)
  get_target_property(type ${target} TYPE)
  # Every program and library, tests included, runs under Wine (or on a bare Windows) without
  # the MinGW runtime DLLs (libstdc++-6, libgcc_s_seh-1, libwinpthread-1).
  if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endforeach()

set(TARNELL_WINDOWS_BIN ${PROJECT_BINARY_DIR}/bin)

# ---- Tarnell.dll: the plug-in ------------------------------------------------------------------
# Its resources (dialog templates, version block, manifest) and its load hook. Only Startup, which
# is declared dllexport, leaves the module.
set(TARNELL_RC ${PROJECT_SOURCE_DIR}/resources/Tarnell.rc)
set(TARNELL_MANIFEST ${PROJECT_SOURCE_DIR}/resources/Tarnell.manifest)
target_sources(Tarnell PRIVATE ${PROJECT_SOURCE_DIR}/plugin/dll_main_win32.cpp)
# llvm-rc writes the templates as the Windows resource compiler does: the predefined control
# classes as ordinals and every other class name as written. windres would store the class of the
# list view as "SYSLISTVIEW32", so it is only the fallback. windres then turns the compiled
# resources into an object file for the linker. llvm-rc also reads a leading slash as an option
# ("/check/…" would be /C), so the options take dashes and "--" ends them before the source.
# llvm-rc preprocesses with the clang found beside the name it was called by, and Debian puts only
# versioned links (llvm-rc-14, clang-14) in /usr/bin: it is called by its real path in LLVM's own
# folder, where clang lives too.
find_program(TARNELL_LLVM_RC NAMES llvm-rc llvm-rc-16 llvm-rc-15 llvm-rc-14)
if(TARNELL_LLVM_RC)
  file(REAL_PATH ${TARNELL_LLVM_RC} llvm_rc)
  get_filename_component(llvm_bin ${llvm_rc} DIRECTORY)
  find_program(TARNELL_RC_CLANG NAMES clang PATHS ${llvm_bin} NO_DEFAULT_PATH)
endif()
find_path(TARNELL_WINDOWS_INCLUDE windows.h)
if(TARNELL_LLVM_RC AND TARNELL_RC_CLANG AND TARNELL_WINDOWS_INCLUDE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/Tarnell.res)
  set(res_object ${CMAKE_CURRENT_BINARY_DIR}/Tarnell_res.obj)
  add_custom_command(
    OUTPUT ${res_object}
    COMMAND ${llvm_rc} -C 65001 -I ${TARNELL_WINDOWS_INCLUDE}
            -I ${PROJECT_SOURCE_DIR}/resources -FO ${res} -- ${TARNELL_RC}
    COMMAND ${CMAKE_RC_COMPILER} -J res -O coff -i ${res} -o ${res_object}
    DEPENDS ${TARNELL_RC} ${TARNELL_MANIFEST}
    COMMENT "Compiling the resources of Tarnell.dll"
    VERBATIM)
  # The rule lives in this folder and the plug-in target in plugin/: a target of this folder
  # carries the rule, and the object is marked as generated where the plug-in is defined.
  add_custom_target(tarnell_resources DEPENDS ${res_object})
  set_source_files_properties(${res_object} TARGET_DIRECTORY Tarnell PROPERTIES
    GENERATED TRUE EXTERNAL_OBJECT TRUE)
  target_sources(Tarnell PRIVATE ${res_object})
  add_dependencies(Tarnell tarnell_resources)
else()
  message(WARNING "llvm-rc not found: windres compiles Tarnell.rc and stores the list view's "
                  "class name in upper case")
  set_source_files_properties(${TARNELL_RC} PROPERTIES
    INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/resources
    OBJECT_DEPENDS ${TARNELL_MANIFEST})
  target_sources(Tarnell PRIVATE ${TARNELL_RC})
endif()
target_link_options(Tarnell PRIVATE -Wl,--exclude-all-symbols)
set_target_properties(Tarnell PROPERTIES
  PREFIX ""
  OUTPUT_NAME Tarnell
  RUNTIME_OUTPUT_DIRECTORY ${TARNELL_WINDOWS_BIN})

# ---- ZetLib.dll: the stand-in host library -------------------------------------------------
# The command-line host and the tests use its C++ interface as well as the Zet* functions, so
# every global symbol of its own objects is exported; nothing of the static libraries linked
# into it (the C and C++ runtimes, winpthreads) is, or programs using both would see it twice.
set_target_properties(ZetLib PROPERTIES
  PREFIX ""
  OUTPUT_NAME ZetLib
  RUNTIME_OUTPUT_DIRECTORY ${TARNELL_WINDOWS_BIN})
target_link_options(ZetLib PRIVATE -Wl,--export-all-symbols -Wl,--exclude-libs,ALL)

# ---- tarnell.exe: the command-line host ---------------------------------------------------
# A driver thread gives the user's dialog actions to the plug-in's real dialog windows.
target_sources(tarnell PRIVATE ${PROJECT_SOURCE_DIR}/cli/dialog_driver_win32.cpp)
set_target_properties(tarnell PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TARNELL_WINDOWS_BIN})
