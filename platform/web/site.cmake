# The site: a static folder any web host serves as it is (build/.../site/):
# the page and its style, the program's .js and .wasm, and the dialogs' font.
set(site_dir ${PROJECT_BINARY_DIR}/site)
set(site_page ${CMAKE_CURRENT_LIST_DIR}/index.html)
set(site_font ${PROJECT_SOURCE_DIR}/platform/fonts/lunvik-ui.ttf)
set(site_style ${CMAKE_CURRENT_LIST_DIR}/lunvik.css)
add_custom_command(OUTPUT ${site_dir}/index.html ${site_dir}/lunvik.js ${site_dir}/lunvik.wasm
                          ${site_dir}/lunvik-ui.ttf ${site_dir}/lunvik.css
  COMMAND ${CMAKE_COMMAND} -E make_directory ${site_dir}
  COMMAND ${CMAKE_COMMAND} -E copy ${site_page} ${site_style} ${site_font} $<TARGET_FILE:lunvik>
          $<TARGET_FILE_DIR:lunvik>/lunvik.wasm ${site_dir}
  DEPENDS lunvik ${site_page} ${site_style} ${site_font}
  COMMENT "Putting the site together"
  VERBATIM)
add_custom_target(lunvik_site ALL DEPENDS ${site_dir}/index.html)
