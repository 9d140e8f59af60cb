#!/usr/bin/env bash
# Installs the Debian 12 packages Tessaline needs to build and run it, and
# with TESSALINE_TEST_DEPS=1 also those its tests, sanitizer builds, fuzz
# targets and benchmarks need. Quiet and idempotent: only missing packages
# are fetched. Runs apt as root, through sudo when the caller is not root.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # the SVG renderer that draws the program's artwork at build time
  qt6-svg-dev
  libpng-dev libjpeg-dev libtiff-dev zlib1g-dev
  # compresses again the PDF pages whose content is made anew
  libdeflate-dev
  libfreetype-dev libfontconfig-dev
  # the lock keys' states from the X server's keyboard indicators
  libx11-dev
  # joins the parts of a PDF file painted by several threads
  libqpdf-dev
  # hands finished print jobs to the system's print service
  libcups2-dev
  # GIF pictures written by the picture export; the icons drawn from SVG
  libgif-dev librsvg2-bin
  # print queues that take PostScript, and the PostScript jobs sent to them
  libcups2-dev
  # EPS pictures drawn for the screen and for printers that take no
  # PostScript, by gs run as a program of its own
  ghostscript
  # the word list the default spelling dictionary is made from
  wamerican
  # fonts that stand for the Windows faces, and the platform and picture
  # format plugins (TIFF, TGA, WebP, ...)
  fonts-liberation fonts-dejavu-core qt6-qpa-plugins qt6-image-formats-plugins
  # update-mime-database and update-desktop-database, which the program
  # runs at its first start to make the desktop know its file types
  shared-mime-info desktop-file-utils
)
if [ "${TESSALINE_TEST_DEPS:-0}" = 1 ]; then
  # tests, sanitizers, fuzzing and benchmarks
  packages+=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev llvm python3)
  # external oracles the tests compare against
  packages+=(gzip)
  # barcodes read back and compared with another encoder
  packages+=(zbar-tools zint)
  # picture fixtures and their reference decodes; PostScript jobs; a
  # decimal-comma locale built from the locale sources
  packages+=(imagemagick libtiff-tools python3-pil ghostscript locales)
  # the black-and-white picture exports read back by another program
  packages+=(netpbm)
  # metafile readers and an SVG renderer for their output
  packages+=(emf2svg libwmf-bin librsvg2-bin)
  # hyphenation compared with libhyphen (over the wamerican word list),
  # whose pattern converter is a Perl script
  packages+=(libhyphen-dev perl)
  # another user to run the tool as (runuser), and files compared (cmp)
  packages+=(util-linux diffutils)
  # printed PDF files counted and rasterised
  packages+=(poppler-utils)
  # the database benchmark's reference engine
  packages+=(libsqlite3-dev)
  # the card benchmark's page contents, read uncompressed
  packages+=(qpdf)
  # a print scheduler of the tests' own (cupsd and its filters) with the
  # cups-pdf printer description, for printing into a queue
  packages+=(cups printer-driver-cups-pdf)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: run as root, or install sudo" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq >/dev/null
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
