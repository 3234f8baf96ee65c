# The installed program, laid out as the freedesktop standards name it: the program in bin/, its
# program folder (help pages, scripts) in share/kyxtavlo/, the desktop entry, the icons and the
# AppStream metadata.
include(GNUInstallDirs)

# One name for the desktop entry and the AppStream component, which software centres join by it.
set(KYXTAVLO_ID io.github.kyxtavlo.kyxTavlo)
set(KYXTAVLO_ADDRESS "https://github.com/kyxtavlo/kyxTavlo" CACHE STRING
    "The program's home page, named in its AppStream metadata")
set(KYXTAVLO_IMAGES "https://raw.githubusercontent.com/kyxtavlo/kyxTavlo/main/docs/images" CACHE STRING
    "Where the README's pictures (docs/images) are published, shown by software centres")

# The program looks for its installed program folder relative to its own folder, so an
# installation under any prefix, or a package unpacked anywhere, finds its own.
file(RELATIVE_PATH kyx_program_folder_from_bin "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/kyxtavlo")
set_property(SOURCE src/platform/DataFolders.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             KYX_INSTALLED_PROGRAM_FOLDER="${kyx_program_folder_from_bin}")

install(TARGETS kyxtavlo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY resources/program/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kyxtavlo USE_SOURCE_PERMISSIONS)
install(FILES resources/desktop/${KYXTAVLO_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(resources/desktop/${KYXTAVLO_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/desktop/${KYXTAVLO_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${KYXTAVLO_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon is drawn once, as SVG (the windows and the notification area show that very file, from
# the resources); the fixed sizes that icon themes and older desktops look for are made from it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(kyx_icon ${CMAKE_SOURCE_DIR}/resources/icons/kyxtavlo.svg)
set(KYXTAVLO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(kyx_icon_pngs)
foreach(size ${KYXTAVLO_ICON_SIZES})
  set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps)
  add_custom_command(OUTPUT ${folder}/kyxtavlo.png
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${folder}/kyxtavlo.png ${kyx_icon}
                     DEPENDS ${kyx_icon}
                     COMMENT "Drawing the ${size}x${size} icon"
                     VERBATIM)
  list(APPEND kyx_icon_pngs ${folder}/kyxtavlo.png)
  install(FILES ${folder}/kyxtavlo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(kyxtavlo_icons ALL DEPENDS ${kyx_icon_pngs})
install(FILES ${kyx_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# A Debian package of the same installation: `cpack -G DEB` in the build folder. The libraries
# the program links (Qt 6, Hunspell) become dependencies through dpkg-shlibdeps, with the versions
# of the system it is built on; what it loads only at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kyxtavlo)
set(CPACK_PACKAGE_VENDOR "kyxTavlo")
set(CPACK_PACKAGE_CONTACT "kyxTavlo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop editor for plain text and RTF with a Danish user interface")
set(CPACK_PACKAGE_DESCRIPTION
    "kyxTavlo edits plain-text and rich-text (RTF) documents, each in a window of its own, and writes\n\
them back in the encoding and line breaks they were read in. Around the editing it offers Danish\n\
spell checking, find and replace, searching in the files of a folder, lists of documents and\n\
favourites, printing, dates and the Danish church holidays, and twelve visual designs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KYXTAVLO_ADDRESS})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's SVG plug-ins, which draw the program's icon, the Danish dictionary for the spell check and
# the icon theme of the tool buttons; Qt's own dialogs in Danish come with its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, hunspell-da, breeze-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
