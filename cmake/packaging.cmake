# The Debian package (scripts/package): both programs (stripped), their manual pages made from
# their --help at build time, the desktop entry and icon, the README, the copyright file and the
# changelog; Depends comes from the libraries the programs link. lintian checks it in CI.
include(GNUInstallDirs)
# Packaging builds only the programs and their manual pages (scripts/package), not every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(QUORVEX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quorvex)

# What the package holds; scripts/package builds this target.
add_custom_target(package_contents)

# A manual page per program, from what the program itself says with --help.
set(QUORVEX_MAN_PAGES "")
function(quorvex_man_page target summary)
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1.gz)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${target}
            "-DSUMMARY=${summary}" -DVERSION=${PROJECT_VERSION} -DOUT=${page}
            -P ${CMAKE_SOURCE_DIR}/cmake/man_page.cmake
    DEPENDS ${target} ${CMAKE_SOURCE_DIR}/cmake/man_page.cmake
    COMMENT "Manual page of ${target}")
  add_custom_target(${target}_man ALL DEPENDS ${page})
  add_dependencies(package_contents ${target}_man)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

install(TARGETS quorvex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
quorvex_man_page(quorvex-cli "records, evaluations, reports and simulated tests of Quorvex without a window")
if(TARGET quorvex)
  install(TARGETS quorvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  quorvex_man_page(quorvex "operating program of a universal materials-testing machine")
  install(FILES resources/package/quorvex.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES resources/package/quorvex.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES README.md DESTINATION ${QUORVEX_DOC_DIR})
install(FILES resources/package/copyright DESTINATION ${QUORVEX_DOC_DIR})
# Debian keeps the changelog of a native package compressed, without a time stamp.
set(QUORVEX_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${QUORVEX_CHANGELOG}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/resources/package/changelog > ${QUORVEX_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/package/changelog)
add_custom_target(quorvex_changelog ALL DEPENDS ${QUORVEX_CHANGELOG})
add_dependencies(package_contents quorvex_changelog)
install(FILES ${QUORVEX_CHANGELOG} DESTINATION ${QUORVEX_DOC_DIR})

set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VENDOR "Quorvex")
set(CPACK_PACKAGE_CONTACT "Quorvex developers <developers@quorvex.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvex developers <developers@quorvex.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "operating program of a universal materials-testing machine")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvex runs tensile, compression, flexural, shear, chain and universal
tests on spindle and hydraulic testing machines: preload, speed
programme, sampling of force, crosshead travel and extensometer, break
detection and stop. It evaluates each curve by the standard of its test
type, keeps series and results projects with statistics, printed
reports, PDF files and export tables, and holds the machine's
configuration and calibration. Without a machine it runs on a simulated
one.
.
The package holds the program with its main window, quorvex, and the
command-line tool quorvex-cli, which reads and converts the records,
evaluates curve files, prints reports and runs whole tests on the
simulated machine.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-sqlite, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")
include(CPack)
