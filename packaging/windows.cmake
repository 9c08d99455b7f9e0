# Windows packages: a 64-bit NSIS installer (cpack -G NSIS) that puts the
# program under Program Files with a Start-menu entry and an uninstaller, and
# a portable zip (cpack -G ZIP). Both carry the licences.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
              ${PROJECT_SOURCE_DIR}/platform/fonts/DejaVu-LICENSE.txt
              ${PROJECT_SOURCE_DIR}/platform/fonts/IPA-Font-License-Agreement-v1.0.txt
        DESTINATION .)

set(CPACK_PACKAGE_NAME Lunvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Lunvik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D demo Lunvik: spinning wire-frame cubes and stars")
set(CPACK_PACKAGE_HOMEPAGE_URL ${LUNVIK_HOMEPAGE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Lunvik")
set(CPACK_PACKAGE_EXECUTABLES "lunvik" "3D demo Lunvik")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_DISPLAY_NAME "3D demo Lunvik")
set(CPACK_NSIS_PACKAGE_NAME "3D demo Lunvik")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\lunvik.exe")
set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/app/lunvik.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/app/lunvik.ico)
set(CPACK_NSIS_URL_INFO_ABOUT ${LUNVIK_HOMEPAGE})
# The installer is a 64-bit program like the one it installs: it runs where
# only 64-bit Windows (or Wine) is, installs under "Program Files", not
# "Program Files (x86)", and its uninstall entry lands in the 64-bit registry.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
include(CPack)
