# `cpack -G DEB` in the build directory makes kestrova_<version>_<arch>.deb,
# installable with `apt install ./kestrova_*.deb`.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kestrova")
set(CPACK_PACKAGE_VENDOR "The Kestrova developers")
set(CPACK_PACKAGE_CONTACT "The Kestrova developers <kestrova@example.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.com/kestrova")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set up the keys of a USB foot switch")
# Wrapped by hand: the Debian description has lines of at most 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Kestrova stores keyboard shortcuts and mouse clicks in the four switches of"
  "a USB HID foot switch. It finds the device by its vendor and product ID and"
  "follows plugging and unplugging. A udev rule gives the user at the seat"
  "access to the device, so the tool needs no root rights.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# Depends is computed from the linked libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Applies the new rule to a switch that is already plugged in.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
