# In a browser: the window layer's behaviour tests (the same sources as on
# Qt and Win32) on the web back end, run on a page in headless Chromium.
set(dir ${PROJECT_SOURCE_DIR}/tests)
add_executable(platform_tests
  ${dir}/support/window_test_main.cpp ${dir}/platform/backend_web.cpp
  ${dir}/platform/crt_random_tests.cpp ${dir}/platform/dialog_tests.cpp
  ${dir}/platform/tab_view_tests.cpp ${dir}/platform/web_paint_tests.cpp
  ${dir}/platform/window_tests.cpp)
target_include_directories(platform_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(platform_tests PRIVATE LUNVIK_WEB_BACK_END)
target_link_libraries(platform_tests PRIVATE lunvik_platform GTest::gtest)
target_link_options(platform_tests PRIVATE -sINCOMING_MODULE_JS_API=['print','printErr'])
add_custom_command(TARGET platform_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${dir}/web/layer_tests.html
          ${PROJECT_SOURCE_DIR}/platform/web/lunvik.css
          ${PROJECT_SOURCE_DIR}/platform/fonts/lunvik-ui.ttf $<TARGET_FILE_DIR:platform_tests>
  VERBATIM)
add_test(NAME platform_tests
         COMMAND node ${dir}/web/run_in_chromium.mjs $<TARGET_FILE_DIR:platform_tests> platform_tests)
set_tests_properties(platform_tests PROPERTIES TIMEOUT 600)
