# The three picture files are drawn by tools/assetgen at build time and placed
# beside the program. A cross build runs a generator built for the build host.

# The picture files, in the order the program reads them; the launcher looks
# for them and the install puts them in the data folder.
set(QM_PICTURE_FILES bckgnd.bmp Sprites.bmp MsgWnd.bmp)

# Sets QM_ASSETGEN (the generator's path) and QM_ASSETGEN_TARGET (the target that
# builds it) in the caller's scope.
function(qm_find_asset_generator)
  if(CMAKE_CROSSCOMPILING)
    set(host_dir ${CMAKE_BINARY_DIR}/host-tools)
    if(NOT TARGET host_assetgen)
      include(ExternalProject)
      # The host's own compiler, not the cross toolchain. BUILD_ALWAYS lets the
      # inner build notice edits to the generator; it is a no-op when up to date.
      ExternalProject_Add(host_assetgen
        SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/assetgen
        BINARY_DIR ${host_dir}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS ${host_dir}/assetgen)
    endif()
    set(QM_ASSETGEN ${host_dir}/assetgen PARENT_SCOPE)
    set(QM_ASSETGEN_TARGET host_assetgen PARENT_SCOPE)
  else()
    set(QM_ASSETGEN $<TARGET_FILE:assetgen> PARENT_SCOPE)
    set(QM_ASSETGEN_TARGET assetgen PARENT_SCOPE)
  endif()
endfunction()

function(qm_add_asset_generation)
  qm_find_asset_generator()
  list(TRANSFORM QM_PICTURE_FILES PREPEND ${QM_RUNTIME_DIR}/ OUTPUT_VARIABLE outputs)
  set(depends ${QM_ASSETGEN_TARGET})
  if(CMAKE_CROSSCOMPILING)
    list(APPEND depends ${QM_ASSETGEN})  # redraw when the host generator changes
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_RUNTIME_DIR}
    COMMAND ${QM_ASSETGEN} ${QM_RUNTIME_DIR}
    DEPENDS ${depends}
    COMMENT "Drawing bckgnd.bmp, Sprites.bmp and MsgWnd.bmp")
  if(NOT WIN32)
    # The desktop icon of an installed program, 48 x 48.
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/quillmere.png
      COMMAND ${QM_ASSETGEN} --icon-png ${CMAKE_BINARY_DIR}/quillmere.png 48
      DEPENDS ${depends}
      COMMENT "Drawing the desktop icon")
    list(APPEND outputs ${CMAKE_BINARY_DIR}/quillmere.png)
  endif()
  add_custom_target(assets ALL DEPENDS ${outputs})
endfunction()

# The program icon for Windows builds, drawn by the same generator into `ico_file`.
function(qm_add_icon_generation ico_file)
  qm_find_asset_generator()
  set(depends ${QM_ASSETGEN_TARGET})
  if(CMAKE_CROSSCOMPILING)
    list(APPEND depends ${QM_ASSETGEN})
  endif()
  add_custom_command(OUTPUT ${ico_file}
    COMMAND ${QM_ASSETGEN} --icon ${ico_file}
    DEPENDS ${depends}
    COMMENT "Drawing the program icon")
endfunction()
