# The Debian package: `cpack --config <build>/CPackConfig.cmake -B <folder>` after a
# build makes zenithwand_<version>_<arch>.deb of everything cmake/Install.cmake
# installs, under /usr. dpkg-shlibdeps computes the shared-library dependencies;
# the binaries are stripped. `./zw package` runs this.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zenithwand)
set(CPACK_PACKAGE_VENDOR "The ZenithWand Team")
set(CPACK_PACKAGE_CONTACT "The ZenithWand Team <zenithwand@example.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "polar alignment of an equatorial mount with a camera")
# The long description as dpkg shows it: lines under 80 characters, "." between paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "ZenithWand turns a small USB camera, fixed to the polar axis of an equatorial"
  "telescope mount, into a polar-alignment instrument. It shows the live image of"
  "the sky around the celestial pole and leads the user through the alignment:"
  "matching a star template to the pole star, finding the right-ascension axis"
  "from three positions of one star, and watching the pole mark while turning the"
  "altitude and azimuth screws. It speaks ten languages."
  "."
  "A simulated camera on a simulated mount comes with the program, so the"
  "alignment can be tried without a telescope.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.com/zenithwand/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts the ten languages are drawn with (Chinese, Japanese and Korean need Noto CJK).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
