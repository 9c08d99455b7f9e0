# The web back end (Emscripten): the DOM's side in dom_library.js, linked
# into every program that uses the layer, with Asyncify for the blocking
# message loop and the modal loops, which yield to the browser in lv_wait.
target_sources(lunvik_platform PRIVATE
  ${shared_sources}
  web/charconv_fixed.cpp
  web/dialog_controls.cpp
  web/dialog_host.cpp
  web/frame_host.cpp
  web/message_loop_run.cpp
  web/paint.cpp
  web/platform_start.cpp
  web/raster_screen.cpp
  web/tab_view_host.cpp
  web/window_create.cpp
  web/window_geometry.cpp
  web/window_lifetime.cpp
  web/window_messages.cpp
  web/window_registry.cpp
  web/window_timers.cpp
)
set(dom_library ${CMAKE_CURRENT_SOURCE_DIR}/web/dom_library.js)
target_link_options(lunvik_platform INTERFACE
  --js-library ${dom_library}
  -sASYNCIFY -sASYNCIFY_IMPORTS=['lv_wait'] -sASYNCIFY_STACK_SIZE=65536
  # Drawing never waits: its code needs no unwinding.
  "-sASYNCIFY_REMOVE=['*raster*','*Clip*','*CModelBase*']"
  -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web -sEXPORTED_RUNTIME_METHODS=[]
  -sINCOMING_MODULE_JS_API=['print','printErr','locateFile','onAbort'])
set_property(TARGET lunvik_platform APPEND PROPERTY INTERFACE_LINK_DEPENDS ${dom_library})
# Fixed-point doubles for the status lines, which this C++ library lacks.
target_compile_options(lunvik_platform PUBLIC
  "SHELL:-include ${CMAKE_CURRENT_SOURCE_DIR}/web/charconv_fixed.h")
