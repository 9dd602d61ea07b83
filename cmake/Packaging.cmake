# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh does it all).
# Its Depends are read off the programs' real shared-library dependencies by dpkg-shlibdeps,
# so it pulls the Qt 6 and QCustomPlot runtime libraries and nothing of the build tools.

include(${CMAKE_CURRENT_LIST_DIR}/Gzip.cmake)

set(PELORIN_PACKAGE_NAME pelorin-telemetry)
set(PELORIN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${PELORIN_PACKAGE_NAME})

# Debian wants the copyright file and a compressed changelog in the package's doc folder.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${PELORIN_DOC_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
    ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
pelorin_gzip(${PROJECT_BINARY_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_target(pelorin_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${PELORIN_DOC_DIR})

# What software centres show of the window.
if(PELORIN_BUILD_UI)
    set(PELORIN_METAINFO ${PROJECT_BINARY_DIR}/packaging/org.pelorin.telemetry.metainfo.xml)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/org.pelorin.telemetry.metainfo.xml.in
        ${PELORIN_METAINFO} @ONLY)
    install(FILES ${PELORIN_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The sample pass and the example limits, to try the programs on.
install(FILES ${PROJECT_SOURCE_DIR}/samples/pass.txt ${PROJECT_SOURCE_DIR}/samples/limits.ini
    DESTINATION ${PELORIN_DOC_DIR}/examples)

set(CPACK_PACKAGE_NAME ${PELORIN_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelorin Telemetry Decoder developers")
set(CPACK_PACKAGE_CONTACT
    "Pelorin Telemetry Decoder maintainers <maintainers@users.noreply.c-seed-5f5956fd.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "telemetry decoder for the Pelorin satellite")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool for radio amateurs who receive the Pelorin satellite.\n\
Paste the telemetry lines that a packet-decoding program prints, or open\n\
or follow its log, and see every value of a chosen record, the spacecraft's\n\
sunlit faces and a chart of any quantity over all records; write them to a\n\
CSV file.\n\
.\n\
The package also holds pelorin-decode, a command-line decoder that turns\n\
files or live logs into CSV or JSON Lines, and pelorin-archive, which keeps\n\
every frame ever received in a SQLite archive and lists and exports its passes.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The fonts the window's layout is measured with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-dejavu-core")
# The Wayland platform plugin (the X11 one comes with the Qt libraries), and bash for the
# programs' completions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, bash-completion")
include(CPack)
