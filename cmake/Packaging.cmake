# The Debian package (scripts/package.sh): `cpack -G DEB` over what `cmake --install` puts in place,
# with the pieces Debian asks of a package beside it (copyright, changelog, compressed man pages).
include(GNUInstallDirs)

set(PIMAVO_PACKAGE_MAINTAINER "The Pimavo developers <maintainers@pimavo.org>"
    CACHE STRING "Maintainer field of the Debian package")

# The changelog's newest entry names the package's version: one place to change it, and a
# mismatch with the project's own version fails here rather than in lintian.
set(PIMAVO_DEBIAN_DIR ${CMAKE_SOURCE_DIR}/packaging/debian)
file(STRINGS ${PIMAVO_DEBIAN_DIR}/changelog PIMAVO_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT PIMAVO_CHANGELOG_HEAD MATCHES "^pimavo \\(([^-)]+)-([^)]+)\\)")
    message(FATAL_ERROR "packaging/debian/changelog: the first line names no version: ${PIMAVO_CHANGELOG_HEAD}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/debian/changelog is at ${CMAKE_MATCH_1}, the project at ${PROJECT_VERSION}")
endif()
set(PIMAVO_DEBIAN_REVISION ${CMAKE_MATCH_2})
# The man pages carry the version and the date of that entry, as Debian's tools read them.
file(STRINGS ${PIMAVO_DEBIAN_DIR}/changelog PIMAVO_CHANGELOG_TRAILER REGEX "^ -- " LIMIT_COUNT 1)
if(NOT PIMAVO_CHANGELOG_TRAILER MATCHES ">  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "packaging/debian/changelog: the newest entry has no date: ${PIMAVO_CHANGELOG_TRAILER}")
endif()
set(PIMAVO_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND PIMAVO_MONTHS ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
string(LENGTH "${month}" length)
string(LENGTH "${CMAKE_MATCH_1}" dayLength)
set(day ${CMAKE_MATCH_1})
if(length EQUAL 1)
    set(month 0${month})
endif()
if(dayLength EQUAL 1)
    set(day 0${day})
endif()
set(PIMAVO_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${day})

# share/doc/pimavo: GNUInstallDirs would name the folder after the project, capital and all.
set(PIMAVO_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/pimavo)

# Debian wants man pages and the changelog compressed, without a timestamp (gzip -n), so that two
# builds of one tree give the same package.
set(PIMAVO_PACKAGE_BUILD_DIR ${CMAKE_BINARY_DIR}/package)
set(PIMAVO_MAN_PAGES pimavo.1 pimavo-cli.1)
set(PIMAVO_COMPRESSED)
foreach(page IN LISTS PIMAVO_MAN_PAGES)
    configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page}.in ${PIMAVO_PACKAGE_BUILD_DIR}/man/${page} @ONLY)
    list(APPEND PIMAVO_COMPRESSED_SOURCES ${PIMAVO_PACKAGE_BUILD_DIR}/man/${page})
    list(APPEND PIMAVO_COMPRESSED ${PIMAVO_PACKAGE_BUILD_DIR}/${page}.gz)
endforeach()
list(APPEND PIMAVO_COMPRESSED_SOURCES ${PIMAVO_DEBIAN_DIR}/changelog)
list(APPEND PIMAVO_COMPRESSED ${PIMAVO_PACKAGE_BUILD_DIR}/changelog.Debian.gz)
foreach(source target IN ZIP_LISTS PIMAVO_COMPRESSED_SOURCES PIMAVO_COMPRESSED)
    add_custom_command(OUTPUT ${target}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PIMAVO_PACKAGE_BUILD_DIR}
        COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" sh ${source} ${target}
        DEPENDS ${source}
        VERBATIM)
endforeach()
add_custom_target(pimavo_package_docs ALL DEPENDS ${PIMAVO_COMPRESSED})

install(FILES ${PIMAVO_PACKAGE_BUILD_DIR}/pimavo.1.gz ${PIMAVO_PACKAGE_BUILD_DIR}/pimavo-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PIMAVO_DEBIAN_DIR}/copyright ${PIMAVO_PACKAGE_BUILD_DIR}/changelog.Debian.gz
        DESTINATION ${PIMAVO_DOCDIR})
install(FILES ${PIMAVO_DEBIAN_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME pimavo)
# The photo the man page's examples and the acknowledgements speak of.
install(FILES ${CMAKE_SOURCE_DIR}/resources/samples/ladybird.jpg DESTINATION ${PIMAVO_DOCDIR}/examples)

# CPack calls ldconfig from postinst and postrm for any shared object under /usr/lib, the codec
# module in /usr/lib/pimavo included, though ldconfig never looks there; the lintian overrides say so.

# Whatever the umask of the one who builds, the package's folders are rwxr-xr-x.
set(PIMAVO_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
    WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${PIMAVO_DIRECTORY_PERMISSIONS})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${PIMAVO_DIRECTORY_PERMISSIONS})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pimavo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT ${PIMAVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PIMAVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PIMAVO_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pimavo.org/)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "selective-colour photo editor
Pimavo shows a photo with a treated background (grayscale, sepia, aged or
silver-blue) and lets you paint the photo's own colour back with a soft
brush, recolour areas with a solid colour, pick colour regions with a click,
adjust foreground and background separately, and add a vignette or a
high-contrast look. It opens JPEG, PNG, TIFF, HEIC, AVIF, WebP and camera raw
files, imports from cameras and scanners, and saves, prints or shares the
result.
.
pimavo-cli runs the same picture pipeline without a window.")
# The libraries the program and its codec module link; dpkg-shlibdeps names their packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What is loaded at run time rather than linked. Qt's SVG image and icon plugins (the interface is
# drawn in SVG) come with libqt6svg6, which the widgets link, so dpkg-shlibdeps names it. Then the
# GStreamer plugins Qt Multimedia plays the help videos through (Ogg/Theora in
# base; WebM and MP4 containers in good), the keyring library QtKeychain opens by name, and
# xdg-open and xdg-email, which hand web pages and mails to the desktop's programs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, libsecret-1-0, xdg-utils")
# Without the Wayland platform plugin Qt falls back to X11 through XWayland; H.264 in MP4 videos
# decodes through libav; Qt's own dialogs and buttons speak the desktop's language with Qt's
# translations (ours are built into the program).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, gstreamer1.0-libav, gnome-keyring | kwalletmanager, qt6-translations-l10n")
include(CPack)
