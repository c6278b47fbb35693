# Install rules and packages. Linux: a Debian package (`cpack -G DEB` in the
# build folder) with the programs in bin/ and their shipped files in
# share/veltrix/, which the program finds relative to its executable. Windows:
# a zip (`cpack -G ZIP`) that unpacks into a portable program folder, the
# settings file and the guide beside the executables.

set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VENDOR "VELTRIX")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VELTRIX maintainers <maintainers@users.noreply.c-seed-12d4bc9c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analysis tool for JRA horse racing")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # A portable program folder: the rule that picks the program folder takes the
  # executable's own folder because "VELTRIX.ctx" lies beside it.
  install(TARGETS veltrix-cli RUNTIME DESTINATION .)
  if(TARGET veltrix)
    install(TARGETS veltrix RUNTIME DESTINATION .)
  endif()
  install(FILES ${CMAKE_SOURCE_DIR}/dist/VELTRIX.ctx DESTINATION .)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION help)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(windows_arch win64)
  else()
    set(windows_arch win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME VELTRIX-${PROJECT_VERSION}-${windows_arch})
  # The zip holds one folder, VELTRIX-x.y.z-win64/, which is the program folder.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  include(CPack)
  return()
endif()

set(share share/veltrix)
install(TARGETS veltrix-cli RUNTIME DESTINATION bin)
if(TARGET veltrix)
  install(TARGETS veltrix RUNTIME DESTINATION bin)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/dist/VELTRIX.ctx DESTINATION ${share})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${share}/help)
if(TARGET veltrix)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/veltrix.desktop DESTINATION share/applications)
endif()

# Files made at build time for the package: icons, manual pages, the Debian
# changelog, all compressed or rendered as Debian wants them.
set(pkg ${CMAKE_BINARY_DIR}/package)
set(package_outputs)

# The icon is drawn in ImageMagick's vector language (dist/icons/veltrix.mvg,
# 512 x 512) and rendered once big, then scaled to each size of the theme.
find_program(CONVERT_EXECUTABLE convert)
set(icon_sizes 16 24 32 48 64 128 256)
if(CONVERT_EXECUTABLE AND TARGET veltrix)
  set(icon_outputs)
  string(REPLACE ";" "," icon_size_list "${icon_sizes}")  # one word on the command line
  foreach(size IN LISTS icon_sizes)
    list(APPEND icon_outputs ${pkg}/icons/${size}/veltrix.png)
  endforeach()
  add_custom_command(
    OUTPUT ${icon_outputs}
    COMMAND ${CMAKE_COMMAND} -DCONVERT=${CONVERT_EXECUTABLE} -DSOURCE=${CMAKE_SOURCE_DIR}/dist/icons/veltrix.mvg
            -DOUT=${pkg}/icons -DSIZES=${icon_size_list} -P ${CMAKE_SOURCE_DIR}/cmake/RenderIcons.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/icons/veltrix.mvg ${CMAKE_SOURCE_DIR}/cmake/RenderIcons.cmake
    COMMENT "Rendering the icon at ${icon_sizes} pixels")
  list(APPEND package_outputs ${icon_outputs})
  foreach(size IN LISTS icon_sizes)
    install(FILES ${pkg}/icons/${size}/veltrix.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
elseif(TARGET veltrix)
  message(STATUS "ImageMagick's convert not found: the package gets no icon (scripts/install-deps.sh installs it)")
endif()

# veltrix-cli's manual page is its own --help, through help2man.
find_program(HELP2MAN_EXECUTABLE help2man)
find_program(GZIP_EXECUTABLE gzip)
if(HELP2MAN_EXECUTABLE AND GZIP_EXECUTABLE)
  add_custom_command(
    OUTPUT ${pkg}/veltrix-cli.1 ${pkg}/veltrix-cli.1.gz
    COMMAND ${HELP2MAN_EXECUTABLE} --no-info --section=1 --version-string=${PROJECT_VERSION}
            "--name=command line of the VELTRIX horse racing analysis tool"
            --include=${CMAKE_SOURCE_DIR}/dist/veltrix-cli.h2m
            --output=${pkg}/veltrix-cli.1 $<TARGET_FILE:veltrix-cli>
    COMMAND ${GZIP_EXECUTABLE} -9nc ${pkg}/veltrix-cli.1 > ${pkg}/veltrix-cli.1.gz
    DEPENDS veltrix-cli ${CMAKE_SOURCE_DIR}/dist/veltrix-cli.h2m
    COMMENT "Writing veltrix-cli's manual page from its --help")
  add_custom_command(
    OUTPUT ${pkg}/veltrix.1.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_SOURCE_DIR}/dist/veltrix.1 > ${pkg}/veltrix.1.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/veltrix.1)
  add_custom_command(
    OUTPUT ${pkg}/changelog.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_SOURCE_DIR}/dist/debian/changelog > ${pkg}/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/debian/changelog)
  list(APPEND package_outputs ${pkg}/veltrix-cli.1.gz ${pkg}/veltrix.1.gz ${pkg}/changelog.gz)
  install(FILES ${pkg}/veltrix-cli.1.gz DESTINATION share/man/man1)
  if(TARGET veltrix)
    install(FILES ${pkg}/veltrix.1.gz DESTINATION share/man/man1)
  endif()
  install(FILES ${pkg}/changelog.gz DESTINATION share/doc/veltrix)
else()
  message(STATUS "help2man or gzip not found: the package gets no manual pages (scripts/install-deps.sh installs them)")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/dist/debian/copyright DESTINATION share/doc/veltrix)
add_custom_target(package_files ALL DEPENDS ${package_outputs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis line is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the body.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "VELTRIX imports a week of JRA races through JV-Link, merges the analysis\n"
    "files and shows one race at a time on a three-sheet race card, with the\n"
    "past-performance pane, graphs, a heat map, the odds view, bets, marks and\n"
    "race simulations. Its windows are in Japanese. veltrix-cli runs the same\n"
    "commands without windows.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
# The libraries linked are found by dpkg-shlibdeps; what is loaded at run time
# is named here: Qt's Japanese texts and its X11 platform plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
