# The Debian package: cpack -G DEB in the build directory (or
# scripts/make-deb) writes varomel_<version>_amd64.deb. Its dependencies are
# worked out from the binaries' shared libraries by dpkg-shlibdeps; the web
# engine's package brings the sandbox tools with it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varomel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Varomel developers <varomel-dev@varomel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tabbed browser that searches a listing site of new game servers")
set(CPACK_PACKAGE_DESCRIPTION
    "Varomel searches one server-listing web site for newly opened game servers:\n"
    "type a keyword or click a hot-search label and the results open in a new tab\n"
    "of its own small, skinned browser window.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The interface is Chinese; without a CJK font its texts show as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei")
include(CPack)
