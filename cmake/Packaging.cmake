# The licence, notices and documents that go with every installation, and
# the Debian package that `make package` builds (CPack, run in the build
# folder).

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES.md
              ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The documents the help and the manual pages name: the calendar's rules
# and sources, and every form of a typed date, time and place.
install(FILES ${PROJECT_SOURCE_DIR}/docs/CALENDAR.md ${PROJECT_SOURCE_DIR}/docs/INPUT.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# What only the Debian package carries (component "deb", left out of a plain
# install): the machine-readable copyright file and the changelog in Debian's
# format made from CHANGELOG.md, both where Debian's tools look for them.
set(TOLMERI_PACKAGE_MAINTAINER "The tolmeri developers <tolmeri@users.noreply.github.com>"
    CACHE STRING "Maintainer of the Debian package (name <address>)")
set(debian_changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_command(
    OUTPUT ${debian_changelog}.gz
    COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${PROJECT_SOURCE_DIR}/CHANGELOG.md
            -DVERSION=${PROJECT_VERSION} -DMODE=debian -DPACKAGE=${PROJECT_NAME}
            "-DMAINTAINER=${TOLMERI_PACKAGE_MAINTAINER}" -DOUTPUT=${debian_changelog}
            -P ${PROJECT_SOURCE_DIR}/cmake/release_notes.cmake
    COMMAND ${GZIP_EXECUTABLE} -9 -n -f ${debian_changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/release_notes.cmake
    COMMENT "Debian changelog from CHANGELOG.md"
    VERBATIM)
add_custom_target(tolmeri_debian_changelog ALL DEPENDS ${debian_changelog}.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${debian_changelog}.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${TOLMERI_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
# One package holding the default component and "deb".
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified deb)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOLMERI_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries from dpkg-shlibdeps; the Japanese font the window is laid out
# with, Qt's own Japanese texts and bash-completion (which loads the
# installed completion of tolmeri-hours) are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n, bash-completion")
# The synopsis is the project's DESCRIPTION; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "tolmeri (刻しらべ) works out the traditional Japanese temporal hours (不定時法)
for one date at one place and draws them as a chart. Day runs from dawn
(明六つ) to dusk (暮六つ) and night from dusk to the next dawn, each divided
into six hours with their halves; dawn and dusk are the moments the Sun's
centre stands 7°21′40″ below the horizon.

The window takes a date and a place (latitude, longitude and time
difference, or one of 53 preset places) and shows the 25 boundaries of the
half-hours with their clock times, sunrise, sunset and the transit. The
command tolmeri-hours gives the same hours for a day or a year as a table,
CSV or JSON, the hour of this moment, or the chart as a PNG picture.")

include(CPack)
