#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the aligner need.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2046
$sudo apt-get install -y -q --no-install-recommends $(grep -v '^#' "$here/packages.txt")
