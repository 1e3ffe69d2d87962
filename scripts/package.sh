#!/usr/bin/env bash
# Builds the Debian package kadrel_VERSION_ARCH.deb in the top folder, in a build folder of its
# own (build-package/, no tests) with Debian's hardening flags, and has lintian check it.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
nice cmake --build build-package -j2
rm -f build-package/kadrel_*.deb
(cd build-package && cpack -G DEB)
deb=$(basename build-package/kadrel_*.deb)
mv "build-package/$deb" .
# Errors fail the build; the warnings that stay are explained in the README (Packaging).
lintian --fail-on error "$deb" || {
    echo "package.sh: lintian found errors in $deb" >&2
    exit 1
}
echo "package.sh: $deb ($(du -k "$deb" | cut -f1) kB)"
