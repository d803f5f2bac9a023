# The three picture files are drawn by tools/assetgen at build time and placed
# beside the program. A cross build runs a generator built for the build host.
function(qm_add_asset_generation)
  set(outputs ${QM_RUNTIME_DIR}/bckgnd.bmp ${QM_RUNTIME_DIR}/Sprites.bmp ${QM_RUNTIME_DIR}/MsgWnd.bmp)
  if(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    ExternalProject_Add(host_assetgen
      SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/assetgen
      BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
      INSTALL_COMMAND ""
      BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/assetgen)
    set(generator ${CMAKE_BINARY_DIR}/host-tools/assetgen)
    set(generator_target host_assetgen)
  else()
    set(generator $<TARGET_FILE:assetgen>)
    set(generator_target assetgen)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_RUNTIME_DIR}
    COMMAND ${generator} ${QM_RUNTIME_DIR}
    DEPENDS ${generator_target}
    COMMENT "Drawing bckgnd.bmp, Sprites.bmp and MsgWnd.bmp")
  add_custom_target(assets ALL DEPENDS ${outputs})
endfunction()
