# The page build (emscripten): the program becomes Quillmere.js and
# Quillmere.wasm, loaded by the project's own index.html, beside the pictures.
set(QM_PAGE_DIR ${CMAKE_CURRENT_LIST_DIR})
target_link_options(qm_platform INTERFACE
  # The message loop's waits hand the browser its turn and carry on after it.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  # Nothing of the program lies in the lowest 64 KiB, as on Windows: values
  # there are atoms and resource numbers (MAKEINTRESOURCE), never pointers.
  -sGLOBAL_BASE=65536
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  # WinMain's return ends the run: the page shows that it has ended.
  -sEXIT_RUNTIME=1
  -sENVIRONMENT=web -sFORCE_FILESYSTEM=1
  -sEXPORTED_FUNCTIONS=_main,_quillmereButtonKey,_malloc,_free
  --pre-js ${QM_PAGE_DIR}/page.js)
# A change to the page's side relinks the program.
set_property(SOURCE ${QM_PAGE_DIR}/web_backend.cpp APPEND PROPERTY OBJECT_DEPENDS ${QM_PAGE_DIR}/page.js)
configure_file(${QM_PAGE_DIR}/index.html ${QM_RUNTIME_DIR}/index.html COPYONLY)
